#include "framework/Wnd.h"

#include "framework/DC.h"
#include "framework/Menu.h"

#include "framework/TempMap.h"

#include <map>

namespace {

std::map<HWND, CWnd*>& PermanentMap() {
    static std::map<HWND, CWnd*> map;
    return map;
}

CTempMap<CWnd, HWND>& TempMap() {
    static CTempMap<CWnd, HWND> map;
    return map;
}

// The message being handled, for Default(); nested sends save and restore it.
MSG g_currentMsg = {};

// Window to subclass when the hook sees the next window of this thread created.
CWnd* g_pWndInit = nullptr;
HHOOK g_hHookCreate = nullptr;

// The input method's own windows can be created on this thread in the middle
// of another window's creation; they are never the window being waited for.
bool IsImeWindow(HWND hWnd) {
    if (::GetClassLongPtrA(hWnd, GCL_STYLE) & CS_IME)
        return true;
    char cls[8] = {};
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    return ::lstrcmpiA(cls, "IME") == 0;
}

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && g_pWndInit != nullptr && !IsImeWindow(hWnd)) {
        CWnd* pWnd = g_pWndInit;
        g_pWndInit = nullptr;
        pWnd->SubclassWindow(hWnd);
    }
    return CallNextHookEx(g_hHookCreate, code, wParam, lParam);
}

} // namespace

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

CWnd::~CWnd() {
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    ReleaseControlContainer();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    return TempMap().Get(hWnd, [](CWnd& wnd, HWND h) { wnd.m_hWnd = h; });
}

size_t CWnd::GetPermanentCount() {
    return PermanentMap().size();
}

void CWnd::DeleteTempMap() {
    // A temporary object never destroys the window it wraps.
    TempMap().Clear([](CWnd& wnd) { wnd.m_hWnd = nullptr; });
}

BOOL CWnd::Attach(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr)
        PermanentMap().erase(hWnd);
    m_hWnd = nullptr;
    m_timers.clear();
    return hWnd;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    const UINT_PTR nResult = ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    if (nResult != 0 && m_hWnd != nullptr)
        m_timers.insert(nIDEvent);
    return nResult;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    m_timers.erase(nIDEvent);
    return ::KillTimer(m_hWnd, nIDEvent);
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd))
        return FALSE;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper != nullptr && m_hWnd != nullptr &&
        ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AfxWndProc))
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    HWND hWnd = m_hWnd;
    const bool bPermanent = FromHandlePermanent(hWnd) == this;
    BOOL bResult = ::DestroyWindow(hWnd);
    // A window that was never subclassed sees no WM_NCDESTROY of ours.
    if (bPermanent && m_hWnd == hWnd)
        Detach();
    return bResult;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy,
                          nFlags);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    // Centre over the owner when it is visible and not minimised, otherwise
    // over the work area of the screen the window is on.
    HWND hWndCenter = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndCenter != nullptr && (!::IsWindowVisible(hWndCenter) || ::IsIconic(hWndCenter)))
        hWndCenter = nullptr;

    RECT rcDlg;
    ::GetWindowRect(m_hWnd, &rcDlg);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoA(
        ::MonitorFromWindow(hWndCenter ? hWndCenter : m_hWnd, MONITOR_DEFAULTTOPRIMARY), &mi);
    RECT rcArea = mi.rcWork;
    RECT rcCenter = rcArea;
    if (hWndCenter != nullptr)
        ::GetWindowRect(hWndCenter, &rcCenter);

    const int width = rcDlg.right - rcDlg.left;
    const int height = rcDlg.bottom - rcDlg.top;
    int left = (rcCenter.left + rcCenter.right) / 2 - width / 2;
    int top = (rcCenter.top + rcCenter.bottom) / 2 - height / 2;
    if (left + width > rcArea.right)
        left = rcArea.right - width;
    if (left < rcArea.left)
        left = rcArea.left;
    if (top + height > rcArea.bottom)
        top = rcArea.bottom - height;
    if (top < rcArea.top)
        top = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::GetWindowText(CString& text) const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer();
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::Default() {
    return DefWindowProc(g_currentMsg.message, g_currentMsg.wParam, g_currentMsg.lParam);
}

const MSG* CWnd::GetCurrentMessage() {
    return &g_currentMsg;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_INITDIALOG) {
        // Hosted controls exist before the dialog's own initialisation runs,
        // which the dialog procedure reaches through default processing. A
        // dialog whose controls cannot all be created has ended already.
        *pResult = CreateHostedControls() ? Default() : FALSE;
        return TRUE;
    }
    // Hosted controls close while their windows and this one still exist.
    if (message == WM_DESTROY)
        ReleaseControlContainer();
    UINT nLookup = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        nLookup = WM_CTLCOLOR_ANY;
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), nLookup, 0, 0);
    if (pEntry == nullptr)
        return FALSE;
    return DispatchEntry(pEntry, message, wParam, lParam, pResult);
}

BOOL CWnd::DispatchEntry(const AFX_MSGMAP_ENTRY* pEntry, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT* pResult) {
    union {
        AFX_PMSG pfn;
        AFX_PMSG_vv pfn_vv;
        AFX_PMSG_vw pfn_vw;
        AFX_PMSG_vwl pfn_vwl;
        AFX_PMSG_hv pfn_hv;
        AFX_PMSG_is pfn_is;
        AFX_PMSG_bD pfn_bD;
        AFX_PMSG_lp pfn_lp;
        AFX_PMSG_hDWw pfn_hDWw;
        AFX_PMSG_vwp pfn_vwp;
    } mmf;
    mmf.pfn = pEntry->pfn;
    LRESULT lResult = 0;
    switch (pEntry->nSig) {
    case AfxSig_vv:
        (this->*mmf.pfn_vv)();
        break;
    case AfxSig_vw:
        (this->*mmf.pfn_vw)(static_cast<UINT>(wParam));
        break;
    case AfxSig_vwl:
        (this->*mmf.pfn_vwl)(static_cast<UINT>(wParam), lParam);
        break;
    case AfxSig_hv:
        lResult = reinterpret_cast<LRESULT>((this->*mmf.pfn_hv)());
        break;
    case AfxSig_is:
        lResult = (this->*mmf.pfn_is)(reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case AfxSig_bD: {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        lResult = (this->*mmf.pfn_bD)(&dc);
        dc.Detach();
        break;
    }
    case AfxSig_lp:
        lResult = (this->*mmf.pfn_lp)(CPoint(lParam));
        break;
    case AfxSig_hDWw: {
        CDC dc;
        dc.Attach(reinterpret_cast<HDC>(wParam));
        lResult = reinterpret_cast<LRESULT>((this->*mmf.pfn_hDWw)(
            &dc, FromHandle(reinterpret_cast<HWND>(lParam)), message - WM_CTLCOLORMSGBOX));
        dc.Detach();
        break;
    }
    case AfxSig_vwp:
        (this->*mmf.pfn_vwp)(static_cast<UINT>(wParam), CPoint(lParam));
        break;
    default:
        return FALSE;
    }
    *pResult = lResult;
    return TRUE;
}

void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}
int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnDestroy() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
LRESULT CWnd::OnNcHitTest(CPoint) {
    return Default();
}
void CWnd::OnTimer(UINT) {
    Default();
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}

void CWnd::HookWindowCreate(CWnd* pWnd) {
    g_pWndInit = pWnd;
    if (g_hHookCreate == nullptr)
        g_hHookCreate = ::SetWindowsHookExA(WH_CBT, CbtFilterHook, nullptr, ::GetCurrentThreadId());
}

BOOL CWnd::UnhookWindowCreate() {
    if (g_hHookCreate != nullptr) {
        ::UnhookWindowsHookEx(g_hHookCreate);
        g_hHookCreate = nullptr;
    }
    const bool bPending = g_pWndInit != nullptr;
    g_pWndInit = nullptr;
    return !bPending;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    const MSG saved = g_currentMsg;
    g_currentMsg.hwnd = hWnd;
    g_currentMsg.message = message;
    g_currentMsg.wParam = wParam;
    g_currentMsg.lParam = lParam;
    LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    g_currentMsg = saved;

    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
        pWnd->UnsubclassWindow();
        pWnd->PostNcDestroy();
    }
    return lResult;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd == nullptr)
        rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}
