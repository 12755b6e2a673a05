#include "testbed/standin/WindowClass.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE CWindowClass::Instance() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

void CWindowClass::Register(const wchar_t* pszName, WNDPROC pfnWndProc, HBRUSH hbrBackground) {
    WNDCLASSW wc = {};
    if (GetClassInfoW(Instance(), pszName, &wc))
        return;
    wc.lpfnWndProc = pfnWndProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = pszName;
    RegisterClassW(&wc);
}

void CWindowClass::Unregister(const wchar_t* pszName) {
    UnregisterClassW(pszName, Instance());
}
