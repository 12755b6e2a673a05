// The stand-in browser's window: a child of the container's window that
// paints the page's text, receives the worker's notice and runs the meta
// refresh timer. Before in-place activation it is a message-only window.
#pragma once
#include <windows.h>

#include <string>

// What the window tells its owner: a fetch finished, a refresh timer fired,
// the user asked for the context menu.
class IBrowserWindowEvents {
public:
    virtual void OnFetched(UINT nSerial) = 0;
    virtual void OnRefreshTimer() = 0;
    virtual void OnFrameFetched(UINT nSerial) = 0;
    virtual void OnFrameRefreshTimer() = 0;
    virtual void OnContextMenu(const POINT& ptScreen) = 0;

protected:
    ~IBrowserWindowEvents() = default;
};

class CBrowserWindow {
public:
    static const UINT IDT_REFRESH = 1;
    static const UINT IDT_FRAME_REFRESH = 2;
    static const UINT WM_QEL_FETCHED = WM_APP + 0x51;
    static const UINT WM_QEL_FRAME_FETCHED = WM_APP + 0x52;

    explicit CBrowserWindow(IBrowserWindowEvents& owner);
    // At the module's unloading: the class must not outlive its window procedure.
    static void UnregisterWindowClass();
    ~CBrowserWindow();
    CBrowserWindow(const CBrowserWindow&) = delete;
    CBrowserWindow& operator=(const CBrowserWindow&) = delete;

    // Creates the window under hwndParent, or moves it there (HWND_MESSAGE: hidden).
    bool Place(HWND hwndParent, const RECT& rc);
    void Move(const RECT& rc);
    void Destroy();
    HWND GetSafeHwnd() const { return m_hWnd; }
    void SetText(const std::wstring& strText);

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    void OnPaint();

    IBrowserWindowEvents& m_owner;
    HWND m_hWnd = nullptr;
    HFONT m_hFont = nullptr;
    std::wstring m_strText;
};
