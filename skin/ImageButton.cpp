#include "skin/ImageButton.h"

#include "framework/HandleCount.h"
#include "skin/PressTracker.h"

#include <commctrl.h>

namespace {

const UINT_PTR IDT_PRESS = 1;
const UINT IDT_PRESS_ELAPSE = 50;
const WORD IDC_WINHLP_HAND = 106;

// The button's side of the press tracking; pMsg is the message being
// pre-translated, for the tooltip.
class CImageButtonHost : public IPressHost {
public:
    explicit CImageButtonHost(CImageButton& button, MSG* pMsg = nullptr)
        : m_btn(button), m_pMsg(pMsg) {}

    void SetPressTimer() override { m_btn.SetTimer(IDT_PRESS, IDT_PRESS_ELAPSE, nullptr); }
    void KillPressTimer() override { m_btn.KillTimer(IDT_PRESS); }
    void ShowFace(BOOL bPressed) override { m_btn.ShowFace(bPressed); }
    void Click() override { m_btn.Click(); }
    BOOL IsPointerOver() override {
        POINT pt = {};
        ::GetCursorPos(&pt);
        m_btn.ScreenToClient(&pt);
        return m_btn.m_pRegion->PtInRegion(pt);
    }
    void SetHandCursor() override { ::SetCursor(m_btn.m_hHandCursor); }
    void RelayToToolTip() override {
        if (m_btn.m_pToolTip->m_hWnd != nullptr)
            m_btn.m_pToolTip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(m_pMsg));
    }
    void PassOn() override { m_btn.Default(); }

private:
    CImageButton& m_btn;
    MSG* m_pMsg;
};

} // namespace

BEGIN_MESSAGE_MAP(CImageButton, CPictureButton)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
END_MESSAGE_MAP()

CImageButton::CImageButton() {
    m_pRegion = new CRgn;
    m_pToolTip = new CToolTipCtrl;
}

CImageButton::~CImageButton() {
    if (m_hHandCursor != nullptr) {
        ::DestroyCursor(m_hHandCursor);
        CHandleCount::Add(GR_USEROBJECTS, -1);
        m_hHandCursor = nullptr;
    }
    if (m_hBmpDown != nullptr) {
        ::DeleteObject(m_hBmpDown);
        m_hBmpDown = nullptr;
    }
    if (m_hBmpUp != nullptr) {
        ::DeleteObject(m_hBmpUp);
        m_hBmpUp = nullptr;
    }
    delete m_pToolTip;
    m_pToolTip = nullptr;
    delete m_pRegion;
    m_pRegion = nullptr;
}

// The shared Windows folder: on a terminal server GetWindowsDirectoryA may
// name a per-user one, which has no winhlp32.exe.
CString CImageButton::GetWindowsDir() {
    char buffer[4096] = {};
    ::GetSystemWindowsDirectoryA(buffer, sizeof(buffer));
    return CString(buffer);
}

HCURSOR CImageButton::CopyHandCursor(const CString& strModule) {
    // A private copy of the module's cursor outlives the module; where that
    // cannot be had, a copy of the system's hand cursor serves.
    HCURSOR hCopy = nullptr;
    HMODULE hModule = ::LoadLibraryA(strModule);
    if (hModule != nullptr) {
        HCURSOR hCursor = ::LoadCursorA(hModule, MAKEINTRESOURCEA(IDC_WINHLP_HAND));
        if (hCursor != nullptr)
            hCopy = ::CopyIcon(hCursor);
        ::FreeLibrary(hModule);
    }
    if (hCopy == nullptr)
        hCopy = ::CopyIcon(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))); // IDC_HAND
    return hCopy;
}

void CImageButton::InitButton() {
    m_hHandCursor = CopyHandCursor(GetWindowsDir() + "\\winhlp32.exe");
    if (m_hHandCursor != nullptr)
        CHandleCount::Add(GR_USEROBJECTS, 1);

    // The picture the template gave the static is handed back to us to free.
    HBITMAP hOld = SetBitmap(m_hBmpUp);
    if (hOld != nullptr && hOld != m_hBmpUp && hOld != m_hBmpDown)
        ::DeleteObject(hOld);

    RECT rc;
    GetClientRect(&rc);
    m_pRegion->CreateRectRgn(rc.left, rc.top, rc.right, rc.bottom);
    UpdateTabStop(FALSE);
}

void CImageButton::SetToolTip(LPCTSTR text) {
    if (m_pToolTip->Create(this, WS_POPUP | TTS_CLOSE | TTS_ALWAYSTIP) != TRUE)
        return;
    m_pToolTip->SendMessage(TTM_ACTIVATE, TRUE, 0);
    m_pToolTip->AddTool(this, text);
    m_pToolTip->SendMessage(TTM_SETMAXTIPWIDTH, 0, 150);
    m_pToolTip->SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, 200);
    SetAccessibleDescription(text);
}

void CImageButton::ShowButton(int nShow) {
    // Hiding a child takes the focus from it: asked first.
    const BOOL bHadFocus = HasFocus();
    m_bShown = nShow;
    ShowWindow(nShow == 1 ? SW_SHOW : SW_HIDE);
    UpdateTabStop(bHadFocus);
}

void CImageButton::SetActive(int bActive) {
    m_bActive = bActive;
    UpdateTabStop(HasFocus());
}

BOOL CImageButton::IsLive() const {
    return CPressTracker::IsLive(m_bShown, m_bActive) && ::IsWindowEnabled(m_hWnd);
}

void CImageButton::ShowFace(BOOL bPressed) {
    CPictureButton::ShowFace(bPressed);
    SetBitmap(bPressed ? m_hBmpDown : m_hBmpUp);
}

BOOL CImageButton::PreTranslateMessage(MSG* pMsg) {
    CImageButtonHost host(*this, pMsg);
    CPressTracker::PreTranslate(host, m_bShown, m_bActive);
    return CStatic::PreTranslateMessage(pMsg);
}

void CImageButton::OnLButtonDown(UINT, CPoint) {
    CImageButtonHost host(*this);
    CPressTracker::OnLButtonDown(host, m_bShown, m_bActive);
}

void CImageButton::OnLButtonUp(UINT, CPoint) {
    CImageButtonHost host(*this);
    CPressTracker::OnLButtonUp(host, m_bShown, m_bActive);
}

void CImageButton::OnMouseMove(UINT, CPoint) {
    CImageButtonHost host(*this);
    CPressTracker::OnMouseMove(host, m_bShown, m_bActive);
}

void CImageButton::OnTimer(UINT) {
    CImageButtonHost host(*this);
    CPressTracker::OnTimer(host);
}
