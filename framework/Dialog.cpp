#include "framework/Dialog.h"

#include "framework/Convert.h"
#include "framework/Menu.h"
#include "framework/OleControlContainer.h"
#include "framework/OleControlSite.h"
#include "framework/WinApp.h"

#include <string>

namespace {
int g_nModalDepth = 0;

// Moves a control created after the template's own ones to its template
// place in the Z order, which is the tab order: after the nPlace-th of the
// other children, or first.
void PlaceInTabOrder(HWND hWndParent, HWND hWndCtrl, size_t nPlace) {
    HWND hWndAfter = HWND_TOP;
    size_t nSeen = 0;
    for (HWND hWnd = ::GetWindow(hWndParent, GW_CHILD); hWnd != nullptr && nSeen < nPlace;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (hWnd != hWndCtrl) {
            hWndAfter = hWnd;
            ++nSeen;
        }
    }
    ::SetWindowPos(hWndCtrl, hWndAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CALLBACK CDialog::DlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    return pDlg ? pDlg->OnInitDialog() : TRUE;
}

BOOL CDialog::LoadTemplate(std::vector<BYTE>& templateBytes) {
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(m_nIDTemplate), RT_DIALOG);
    HRSRC hResource = ::FindResourceA(hInst, MAKEINTRESOURCEA(m_nIDTemplate), RT_DIALOG);
    HGLOBAL hGlobal = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    const BYTE* pData = hGlobal ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
    if (pData == nullptr)
        return FALSE;
    const DWORD nSize = ::SizeofResource(hInst, hResource);
    templateBytes.assign(pData, pData + nSize);

    m_hostedItems.clear();
    m_hostedPlaces.clear();
    if (m_template.Parse(pData, nSize) && m_template.RemoveActiveXItems() > 0) {
        m_hostedItems = m_template.GetRemovedItems();
        m_hostedPlaces = m_template.GetRemovedPlaces();
        templateBytes = m_template.Build();
    }
    return TRUE;
}

BOOL CDialog::CreateHostedControls() {
    if (m_hostedItems.empty())
        return TRUE;
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(m_nIDTemplate), RT_DLGINIT);
    HRSRC hResource = ::FindResourceA(hInst, MAKEINTRESOURCEA(m_nIDTemplate), RT_DLGINIT);
    HGLOBAL hGlobal = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    const BYTE* pInitRes = hGlobal ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
    const size_t nInitRes = pInitRes ? ::SizeofResource(hInst, hResource) : 0;

    for (size_t i = 0; i < m_hostedItems.size(); ++i) {
        const CDialogTemplate::CItem& item = m_hostedItems[i];
        CLSID clsid;
        std::wstring strClsid(item.cls.str.begin(), item.cls.str.end());
        const RECT rect = m_layout.MapItemRect(m_hWnd, item);
        const BYTE* pInit = nullptr;
        DWORD cbInit = 0;
        CDialogTemplate::FindInitData(pInitRes, nInitRes, static_cast<WORD>(item.nId),
                                      0x0376 /* WM_OCC_LOADFROMSTREAM */, pInit, cbInit);
        const std::wstring strTitle(item.title.str.begin(), item.title.str.end());
        // A control that cannot be created fails the dialog: it ends before it
        // is shown, and what was created goes with its window.
        COleControlSite* pSite = nullptr;
        if (SUCCEEDED(::CLSIDFromString(&strClsid[0], &clsid)))
            pSite = GetControlContainer()->CreateControl(
                clsid, AfxW2A(strTitle.c_str()), item.dwStyle, rect, item.nId, pInit, cbInit);
        if (pSite == nullptr) {
            ::OutputDebugStringA("CDialog: a hosted control cannot be created; the dialog ends\n");
            EndDialog(-1);
            return FALSE;
        }
        PlaceInTabOrder(m_hWnd, pSite->GetHwnd(), m_hostedPlaces[i]);
    }
    return TRUE;
}

HWND CDialog::GetSafeOwner() const {
    HWND hWnd = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (hWnd == nullptr) {
        CWnd* pMain = AfxGetMainWnd();
        hWnd = pMain && pMain != this ? pMain->m_hWnd : nullptr;
    }
    while (hWnd != nullptr && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    return hWnd;
}

INT_PTR CDialog::DoModal() {
    std::vector<BYTE> templateBytes;
    if (!LoadTemplate(templateBytes))
        return -1;

    HWND hWndOwner = GetSafeOwner();
    bool bEnableOwner = false;
    if (hWndOwner != nullptr && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        bEnableOwner = true;
    }

    m_nModalResult = -1;
    m_bContinueModal = true;
    m_hWndFocus = nullptr;
    HookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(
        AfxGetInstanceHandle(), reinterpret_cast<LPCDLGTEMPLATEA>(templateBytes.data()), hWndOwner,
        &CDialog::DlgProc, 0);
    UnhookWindowCreate();
    // No focus rectangle until a key moves the focus, as Windows starts a
    // dialog opened after the mouse (Wine's dialogs start with it shown).
    if (hWnd != nullptr)
        ::SendMessageA(hWnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);

    if (hWnd != nullptr && m_bContinueModal)
        RunModalLoop();

    if (m_hWnd != nullptr)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    DestroyWindow();
    if (hWnd == nullptr && m_hWnd != nullptr)
        UnsubclassWindow();
    m_layout.Release();
    return m_nModalResult;
}

int CDialog::RunModalLoop() {
    bool bShowIdle = !(GetStyle() & WS_VISIBLE);
    bool bIdle = true;
    ++g_nModalDepth;
    MSG msg;
    while (m_bContinueModal) {
        while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = false;
            }
            // No handler is on the stack when the outermost loop is idle.
            if (g_nModalDepth == 1) {
                CWnd::DeleteTempMap();
                CMenu::DeleteTempMap();
            }
            bIdle = false;
        }
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            break;
        }
        CWnd* pMain = AfxGetMainWnd();
        HWND hWndStop = pMain && pMain->m_hWnd ? pMain->m_hWnd : m_hWnd;
        if (!WalkPreTranslateTree(hWndStop, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (msg.message != WM_TIMER && msg.message != WM_MOUSEMOVE &&
            msg.message != WM_NCMOUSEMOVE && msg.message != WM_PAINT && msg.message != 0x0118)
            bIdle = true;
        else if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            bIdle = true;
    }
    --g_nModalDepth;
    return m_nModalResult;
}

void CDialog::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (m_bContinueModal) {
        m_bContinueModal = false;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

void CDialog::EndDialog(int nResult) {
    EndModalLoop(nResult);
    if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, nResult);
}

HWND CDialog::GetFocusControl() const {
    if (::GetActiveWindow() != m_hWnd)
        return m_hWndFocus;
    const HWND hFocus = ::GetFocus();
    return ::IsChild(m_hWnd, hFocus) ? hFocus : nullptr;
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (::GetActiveWindow() == m_hWnd)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
    else
        m_hWndFocus = pWndCtrl->m_hWnd;
}

LRESULT CDialog::OnActivate(WPARAM wParam, LPARAM lParam) {
    const LRESULT lResult = DefWindowProc(WM_ACTIVATE, wParam, lParam);
    const HWND hFocus = ::GetFocus();
    if (LOWORD(wParam) == WA_INACTIVE) {
        if (::IsChild(m_hWnd, hFocus))
            m_hWndFocus = hFocus;
    } else if (!IsIconic()) {
        if (::IsChild(m_hWnd, m_hWndFocus) && hFocus != m_hWndFocus)
            SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_hWndFocus), TRUE);
        m_hWndFocus = nullptr;
    }
    return lResult;
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_ACTIVATE) {
        *pResult = OnActivate(wParam, lParam);
        return TRUE;
    }
    // The fixed-DPI layout comes before the hosted controls are placed and
    // before the dialog's own initialisation reads any control.
    if (message == WM_INITDIALOG && m_nLayoutDpi != 0)
        m_layout.Apply(m_hWnd, m_template, m_nLayoutDpi);
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

// Tab and the arrows move the focus: from then on it shows, as Windows'
// dialog manager shows it.
bool CDialog::IsNavigationKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN)
        return false;
    return msg.wParam == VK_TAB || (msg.wParam >= VK_LEFT && msg.wParam <= VK_DOWN);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Keyboard and mouse input gets the dialog's navigation (Tab, Enter,
    // Esc) when it is meant for this dialog or one of its controls.
    const bool bInput = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                        (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    if (!bInput || m_hWnd == nullptr)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    // A hosted control sees its keys first (Tab, Enter and typing in a page).
    if (m_pCtrlCont != nullptr && m_pCtrlCont->PreTranslateInput(pMsg))
        return TRUE;
    if (IsNavigationKey(*pMsg))
        SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    return ::IsDialogMessageA(m_hWnd, pMsg);
}
