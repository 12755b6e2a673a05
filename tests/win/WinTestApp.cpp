#include "tests/win/WinTestApp.h"

#include "framework/SystemLibrary.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <deque>

namespace {

CWinApp g_testApp;

const UINT WM_RUN_POSTED = WM_APP + 7;
std::deque<std::function<void()>> g_posted;

LRESULT CALLBACK PostWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RUN_POSTED && !g_posted.empty()) {
        std::function<void()> fn = std::move(g_posted.front());
        g_posted.pop_front();
        fn();
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND PostWindow() {
    static HWND hWnd = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PostWndProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "QelTestPost";
        ::RegisterClassA(&wc);
        return ::CreateWindowA("QelTestPost", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
    }();
    return hWnd;
}

class CWinEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // As the program does: COMCTL32 from the system folder, kept to the end.
        AfxInitCommonControls(ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS);
        AfxEnableControlContainer();
        g_testApp.m_hInstance = ::GetModuleHandleA(nullptr);
    }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new CWinEnvironment);

struct SFind {
    const char* title;
    HWND hWndOwner;
    HWND hFound;
};

BOOL CALLBACK FindDialogProc(HWND hWnd, LPARAM lParam) {
    SFind* find = reinterpret_cast<SFind*>(lParam);
    char cls[32] = {};
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (std::string(cls) != "#32770")
        return TRUE;
    if (find->title != nullptr) {
        char text[256] = {};
        ::GetWindowTextA(hWnd, text, sizeof(text));
        if (std::string(text) != find->title)
            return TRUE;
    }
    if (find->hWndOwner != nullptr && ::GetWindow(hWnd, GW_OWNER) != find->hWndOwner)
        return TRUE;
    find->hFound = hWnd;
    return FALSE;
}

} // namespace

void PostToModalLoop(std::function<void()> fn) {
    g_posted.push_back(std::move(fn));
    ::PostMessageA(PostWindow(), WM_RUN_POSTED, 0, 0);
}

HWND FindThreadDialog(const char* title) {
    SFind find = {title, nullptr, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&find));
    return find.hFound;
}

HWND FindOwnedDialog(HWND hWndOwner) {
    SFind find = {nullptr, hWndOwner, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialogProc, reinterpret_cast<LPARAM>(&find));
    return find.hFound;
}

std::string ListLine(HWND hList, int index) {
    const int length = static_cast<int>(::SendMessageA(hList, LB_GETTEXTLEN, index, 0));
    if (length < 0)
        return "<none>";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(hList, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

namespace {

struct SFindTip {
    HWND hWndTool;
    HWND hFound;
    std::string text;
};

BOOL CALLBACK FindTipProc(HWND hWnd, LPARAM lParam) {
    SFindTip* find = reinterpret_cast<SFindTip*>(lParam);
    char cls[32] = {};
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (::lstrcmpiA(cls, TOOLTIPS_CLASSA) != 0)
        return TRUE;
    const int count = static_cast<int>(::SendMessageA(hWnd, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        TTTOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.lpszText = text;
        if (!::SendMessageA(hWnd, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&ti)))
            continue;
        if (!(ti.uFlags & TTF_IDISHWND) || reinterpret_cast<HWND>(ti.uId) != find->hWndTool)
            continue;
        ti.lpszText = text;
        ::SendMessageA(hWnd, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&ti));
        find->hFound = hWnd;
        find->text = text;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND FindToolTip(HWND hWndTool, std::string* pText) {
    SFindTip find = {hWndTool, nullptr, std::string()};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindTipProc, reinterpret_cast<LPARAM>(&find));
    if (pText != nullptr)
        *pText = find.text;
    return find.hFound;
}

CDialogTemplate LoadProgramTemplate(UINT nId) {
    HRSRC hRes = ::FindResourceA(nullptr, MAKEINTRESOURCEA(nId), RT_DIALOG);
    CDialogTemplate dlgTemplate;
    if (hRes != nullptr)
        dlgTemplate.Parse(::LockResource(::LoadResource(nullptr, hRes)),
                          ::SizeofResource(nullptr, hRes));
    return dlgTemplate;
}
