#include "testbed/standin/OwnWindows.h"

#include "testbed/standin/CallLog.h"
#include "testbed/standin/WindowClass.h"

namespace {

const wchar_t kClassName[] = L"QelStandinOwnWindow";

} // namespace

void COwnWindows::UnregisterWindowClass() {
    CWindowClass::Unregister(kClassName);
}

// The text shows as the window's one static line.
void COwnWindows::Show(const wchar_t* pszTitle, const std::wstring& strText, const POINT& pt) {
    CWindowClass::Register(kClassName, DefWindowProcW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const HWND hWnd =
        CreateWindowExW(WS_EX_TOPMOST, kClassName, pszTitle, WS_POPUP | WS_CAPTION | WS_VISIBLE,
                        pt.x, pt.y, 320, 90, nullptr, nullptr, CWindowClass::Instance(), nullptr);
    if (!hWnd)
        return;
    CreateWindowExW(0, L"STATIC", strText.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 8, 8, 300, 40,
                    hWnd, nullptr, CWindowClass::Instance(), nullptr);
    m_vecWindows.push_back(hWnd);
    CCallLog::Write("own window shown: %s (%s)", CCallLog::Utf8(pszTitle).c_str(),
                    CCallLog::Utf8(strText.c_str()).c_str());
}

void COwnWindows::CloseAll() {
    for (HWND hWnd : m_vecWindows) {
        if (IsWindow(hWnd))
            DestroyWindow(hWnd);
    }
    m_vecWindows.clear();
}
