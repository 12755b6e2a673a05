// CWindowClass: the stand-in's own window classes, registered on the DLL's
// instance when first used and unregistered as the DLL unloads.
#pragma once

#include <windows.h>

class CWindowClass {
public:
    // The DLL's module instance.
    static HINSTANCE Instance();
    // Registers the class unless it exists: arrow cursor, the given window
    // procedure and background brush.
    static void Register(const wchar_t* pszName, WNDPROC pfnWndProc, HBRUSH hbrBackground);
    static void Unregister(const wchar_t* pszName);
};
