#include "web/PageDialogHost.h"

#include "framework/ComPtr.h"
#include "framework/OleVariant.h"
#include "web/HtmlDocument.h"
#include "web/NavigationScheme.h"

BOOL CPageDialogHost::ReadDocumentHtml(CString& html) {
    CComPtr<IDispatch> pDocument;
    pDocument.Attach(m_browser.GetDocument());
    return pDocument != nullptr && ReadDocumentOuterHtml(pDocument, html);
}

void CPageDialogHost::TurnScrollOff() {
    TurnDocumentScrollOff(m_pSource);
}

void CPageDialogHost::MoveBrowser(int x, int y, int cx, int cy) {
    m_browser.MoveWindow(x, y, cx, cy, TRUE);
}

void CPageDialogHost::KillTimer(UINT id) {
    m_dlg.KillTimer(id);
}

void CPageDialogHost::DefaultProcessing() {
    m_dlg.Default();
}

void CPageDialogHost::EndDialog(int nResult) {
    m_dlg.EndDialog(nResult);
}

void CPageDialogHost::Navigate(CWebBrowser2& browser, LPCTSTR address) {
    COleVariant varEmpty;
    COleVariant varUrl(address);
    browser.Navigate2(&varUrl, &varEmpty, &varEmpty, &varEmpty, &varEmpty);
    ::VariantClear(&varUrl);
    ::VariantClear(&varEmpty);
}

void CPageDialogHost::CancelForeignScheme(const VARIANT* URL, VARIANT_BOOL* Cancel) {
    if (Cancel != nullptr && !CNavigationScheme::IsAllowed(AnsiFromVariant(URL)))
        *Cancel = VARIANT_TRUE;
}
