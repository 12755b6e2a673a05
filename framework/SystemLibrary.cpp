#include "framework/SystemLibrary.h"

#include <commctrl.h>

void AfxRestrictDllSearch() {
    typedef BOOL(WINAPI * PFNSETDEFAULTDLLDIRECTORIES)(DWORD);
    typedef BOOL(WINAPI * PFNSETDLLDIRECTORYA)(LPCSTR);
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    PFNSETDEFAULTDLLDIRECTORIES pfnSetDefault =
        ModuleFunction<PFNSETDEFAULTDLLDIRECTORIES>(hKernel, "SetDefaultDllDirectories");
    if (pfnSetDefault != nullptr && pfnSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    PFNSETDLLDIRECTORYA pfnSetDllDirectory =
        ModuleFunction<PFNSETDLLDIRECTORYA>(hKernel, "SetDllDirectoryA");
    if (pfnSetDllDirectory != nullptr)
        pfnSetDllDirectory("");
}

CString AfxGetSystemFolder() {
    char buffer[MAX_PATH] = {};
    const UINT nLength = ::GetSystemDirectoryA(buffer, sizeof(buffer));
    if (nLength == 0 || nLength >= sizeof(buffer))
        return CString();
    return CString(buffer);
}

CString AfxGetSystemPath(LPCTSTR name) {
    const CString strFolder = AfxGetSystemFolder();
    return strFolder.IsEmpty() ? CString() : strFolder + "\\" + name;
}

HMODULE AfxLoadSystemLibrary(LPCTSTR name) {
    const CString strPath = AfxGetSystemPath(name);
    return strPath.IsEmpty() ? nullptr : ::LoadLibraryA(strPath);
}

HMODULE AfxInitCommonControls(DWORD dwICC) {
    typedef BOOL(WINAPI * PFNINITCOMMONCONTROLSEX)(const INITCOMMONCONTROLSEX*);
    HMODULE hComCtl = AfxLoadSystemLibrary("comctl32.dll");
    if (hComCtl == nullptr)
        return nullptr;
    PFNINITCOMMONCONTROLSEX pfnInit =
        ModuleFunction<PFNINITCOMMONCONTROLSEX>(hComCtl, "InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc = {sizeof(icc), dwICC};
    if (pfnInit != nullptr)
        pfnInit(&icc);
    return hComCtl;
}

LRESULT AfxLresultFromObject(REFIID riid, WPARAM wParam, IUnknown* pUnknown) {
    typedef LRESULT(WINAPI * PFNLRESULTFROMOBJECT)(REFIID, WPARAM, IUnknown*);
    static HMODULE s_hOleAcc = AfxLoadSystemLibrary("oleacc.dll");
    if (s_hOleAcc == nullptr)
        return 0;
    PFNLRESULTFROMOBJECT pfn = ModuleFunction<PFNLRESULTFROMOBJECT>(s_hOleAcc, "LresultFromObject");
    if (pfn == nullptr)
        return 0;
    const LRESULT lResult = pfn(riid, wParam, pUnknown);
    return lResult < 0 ? 0 : lResult;
}
