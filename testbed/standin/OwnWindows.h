// The windows the control shows by itself where its host leaves a thing to
// it: its context menu, its script error dialog, a new Internet Explorer
// window for a pop-up no host took. Each is a visible top-level window of the
// stand-in's own class, titled by kind, so that a test sees it from outside;
// none blocks. They close with the browser that opened them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class COwnWindows {
public:
    COwnWindows() = default;
    ~COwnWindows() { CloseAll(); }
    COwnWindows(const COwnWindows&) = delete;
    COwnWindows& operator=(const COwnWindows&) = delete;

    // At the module's unloading.
    static void UnregisterWindowClass();

    void Show(const wchar_t* pszTitle, const std::wstring& strText, const POINT& pt);
    void CloseAll();

private:
    std::vector<HWND> m_vecWindows;
};
