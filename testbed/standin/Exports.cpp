// The server's entry points. QEL_BROWSER=system in the environment, read at
// every request for a class object, hands the request to the system's own
// WebBrowser control (ieframe.dll in the system folder) instead;
// QEL_BROWSER=none makes the class unavailable, as on a damaged install.
#include "testbed/standin/BrowserWindow.h"
#include "testbed/standin/OwnWindows.h"
#include "testbed/standin/CallLog.h"
#include "testbed/standin/ClassFactory.h"

#include <windows.h>

namespace {

const CLSID kClsidWebBrowser = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

bool BrowserWanted(const char* pszWhich) {
    char szValue[16];
    const DWORD n = GetEnvironmentVariableA("QEL_BROWSER", szValue, sizeof szValue);
    return n > 0 && n < sizeof szValue && lstrcmpiA(szValue, pszWhich) == 0;
}

HRESULT SystemClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    wchar_t szPath[MAX_PATH];
    const UINT n = GetSystemDirectoryW(szPath, MAX_PATH - 16);
    if (n == 0 || n >= MAX_PATH - 16)
        return CLASS_E_CLASSNOTAVAILABLE;
    lstrcatW(szPath, L"\\ieframe.dll");
    // Kept loaded: objects of the system control may live as long as the process.
    HMODULE hIeframe = LoadLibraryW(szPath);
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto pfn = hIeframe ? reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(
                              GetProcAddress(hIeframe, "DllGetClassObject")))
                        : nullptr;
    CCallLog::Write("DllGetClassObject: the system's control (%s)",
                    pfn ? "ieframe.dll" : "missing");
    return pfn ? pfn(rclsid, riid, ppv) : CLASS_E_CLASSNOTAVAILABLE;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID pReserved) {
    if (dwReason == DLL_PROCESS_DETACH) {
        CCallLog::WriteLive("unloaded");
        if (!pReserved) {
            CBrowserWindow::UnregisterWindowClass();
            COwnWindows::UnregisterWindowClass();
        }
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, kClsidWebBrowser))
        return CLASS_E_CLASSNOTAVAILABLE;
    if (BrowserWanted("none")) {
        CCallLog::Write("DllGetClassObject: class unavailable (QEL_BROWSER=none)");
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    if (BrowserWanted("system"))
        return SystemClassObject(rclsid, riid, ppv);
    IClassFactory* pFactory = new CClassFactory();
    const HRESULT hr = pFactory->QueryInterface(riid, ppv);
    pFactory->Release();
    return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    CCallLog::WriteLive("DllCanUnloadNow");
    return CCallLog::Live() == 0 && CClassFactory::Locks() == 0 ? S_OK : S_FALSE;
}
