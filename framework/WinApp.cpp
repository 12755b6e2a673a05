#include "framework/WinApp.h"

#include "framework/Menu.h"
#include "framework/SystemLibrary.h"

#include <commctrl.h>
#include <ole2.h>

namespace {
CWinApp* g_pApp = nullptr;
bool g_bOleInitialized = false;
} // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!CWnd::WalkPreTranslateTree(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return ExitInstance();
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

HINSTANCE AfxFindResourceHandle(LPCTSTR, LPCTSTR) {
    return AfxGetResourceHandle();
}

BOOL AfxEnableControlContainer(void*) {
    if (!g_bOleInitialized)
        g_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    return g_bOleInitialized;
}

int AfxWinMain(HINSTANCE hInstance) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    HMODULE hComCtl = AfxInitCommonControls(ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS);
    pApp->m_hInstance = hInstance;
    int nResult = pApp->InitInstance() ? pApp->Run() : pApp->ExitInstance();
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    if (g_bOleInitialized)
        ::OleUninitialize();
    if (hComCtl != nullptr)
        ::FreeLibrary(hComCtl);
    return nResult;
}
