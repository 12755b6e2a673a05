#include "web/PageCompletion.h"

CPageCompletion::CPageCompletion(std::initializer_list<LPCTSTR> markers, int x, int y, int cx,
                                 int cy)
    : m_markers(markers.begin(), markers.end()), m_x(x), m_y(y), m_cx(cx), m_cy(cy) {}

const CPageCompletion& CPageCompletion::SetupPage() {
    static const CPageCompletion completion({"wizard_install"}, 29, 63, 290, 60);
    return completion;
}

const CPageCompletion& CPageCompletion::PayTest() {
    static const CPageCompletion completion({"wizard_result", "wizard_install"}, 0, 0, 495, 310);
    return completion;
}

void CPageCompletion::OnDocumentComplete(IPageHost& host, LPCTSTR address,
                                         CString& strResult) const {
    if (HasEndMarker(CString(address))) {
        ReadPageResult(host, strResult);
        return;
    }
    host.TurnScrollOff();
    host.MoveBrowser(m_x, m_y, m_cx, m_cy);
}

BOOL CPageCompletion::HasEndMarker(const CString& address) const {
    for (const CString& strMarker : m_markers) {
        if (FindString(address, strMarker, 0) >= 1)
            return TRUE;
    }
    return FALSE;
}

// A document that exists but yields no root element is treated like a
// missing document: the result text stays as it was. Page text of any
// length is taken whole.
void CPageCompletion::ReadPageResult(IPageHost& host, CString& strResult) {
    CString strHtml;
    if (host.ReadDocumentHtml(strHtml))
        strResult = BodyText(strHtml);
    host.EndDialog(0);
}

CString CPageCompletion::BodyText(const CString& html) {
    static const char kBodyStart[] = "<BODY>";
    const int kBodyStartLength = static_cast<int>(sizeof kBodyStart - 1);
    const int start = FindString(html, kBodyStart, 0);
    const int end = FindString(html, "</BODY>", start);
    return MidString(html, start + kBodyStartLength, end - start - kBodyStartLength);
}

int CPageCompletion::FindString(CString text, CString what, int start) {
    return text.Find(what, start);
}

CString CPageCompletion::MidString(CString text, int first, int count) {
    return text.Mid(first, count);
}
