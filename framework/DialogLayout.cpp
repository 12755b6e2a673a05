#include "framework/DialogLayout.h"

namespace {

const WORD kStaticClass = 0x0082;

} // namespace

int CDialogLayout::GetSystemDpi() {
    HDC hDC = ::GetDC(nullptr);
    const int nDpi = ::GetDeviceCaps(hDC, LOGPIXELSY);
    ::ReleaseDC(nullptr, hDC);
    return nDpi;
}

CDialogUnits CDialogLayout::MeasureUnits(HFONT hFont) {
    static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    SIZE size = {};
    TEXTMETRICW tm = {};
    ::GetTextExtentPoint32W(hDC, kAlphabet, 52, &size);
    ::GetTextMetricsW(hDC, &tm);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(nullptr, hDC);
    return CDialogUnits::FromFontMetrics(size.cx, tm.tmHeight);
}

bool CDialogLayout::IsSelfSizingPicture(const CDialogTemplate::CItem& item) {
    if (!item.cls.bOrdinal || item.cls.nOrdinal != kStaticClass)
        return false;
    const DWORD dwType = item.dwStyle & SS_TYPEMASK;
    return (dwType == SS_BITMAP || dwType == SS_ICON || dwType == SS_ENHMETAFILE) &&
           !(item.dwStyle & (SS_REALSIZECONTROL | SS_CENTERIMAGE));
}

BOOL CDialogLayout::Apply(HWND hDlg, const CDialogTemplate& dlgTemplate, int nDpi) {
    if (!(dlgTemplate.m_dwStyle & DS_SETFONT) || GetSystemDpi() == nDpi)
        return FALSE;
    LOGFONTW lf = {};
    lf.lfHeight = -CDialogUnits::PointsToPixels(dlgTemplate.m_nPointSize, nDpi);
    lf.lfWeight = dlgTemplate.m_nWeight;
    lf.lfItalic = dlgTemplate.m_bItalic;
    lf.lfCharSet = dlgTemplate.m_nCharSet;
    lf.lfQuality = PROOF_QUALITY;
    const std::u16string& face = dlgTemplate.m_strTypeface;
    for (size_t i = 0; i < face.size() && i + 1 < LF_FACESIZE; ++i)
        lf.lfFaceName[i] = static_cast<wchar_t>(face[i]);
    if (!m_font.CreateFontIndirect(&lf))
        return FALSE;
    m_units = MeasureUnits(m_font);

    // The client area at its size in these units, the window where it is.
    const CDialogUnits::CPlace client = m_units.Map(0, 0, dlgTemplate.m_cx, dlgTemplate.m_cy);
    RECT rcWindow = {0, 0, client.cx, client.cy};
    ::AdjustWindowRectEx(&rcWindow, static_cast<DWORD>(::GetWindowLongA(hDlg, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(hDlg, GWL_EXSTYLE)));
    ::SetWindowPos(hDlg, nullptr, 0, 0, rcWindow.right - rcWindow.left,
                   rcWindow.bottom - rcWindow.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // The system created the controls in template order, which is their
    // order among the dialog's children.
    HWND hItem = ::GetWindow(hDlg, GW_CHILD);
    for (const CDialogTemplate::CItem& item : dlgTemplate.m_items) {
        if (hItem == nullptr ||
            static_cast<WORD>(::GetDlgCtrlID(hItem)) != static_cast<WORD>(item.nId)) {
            ::OutputDebugStringA("CDialogLayout: the controls differ from the template\n");
            break;
        }
        const CDialogUnits::CPlace place = m_units.MapItem(item);
        const UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE |
                            (IsSelfSizingPicture(item) ? static_cast<UINT>(SWP_NOSIZE) : 0u);
        ::SetWindowPos(hItem, nullptr, place.x, place.y, place.cx, place.cy, nFlags);
        ::SendMessageW(hItem, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
        hItem = ::GetWindow(hItem, GW_HWNDNEXT);
    }
    return TRUE;
}

RECT CDialogLayout::MapItemRect(HWND hDlg, const CDialogTemplate::CItem& item) const {
    RECT rect = {item.x, item.y, item.x + item.cx, item.y + item.cy};
    if (!IsApplied()) {
        ::MapDialogRect(hDlg, &rect);
        return rect;
    }
    const CDialogUnits::CPlace place = m_units.MapItem(item);
    return RECT{place.x, place.y, place.x + place.cx, place.y + place.cy};
}
