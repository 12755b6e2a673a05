// The HTML model the stand-in and pagecheck read pages with, on arbitrary
// pages: the tree is always whole (HTML with a BODY or a FRAMESET), the body is
// a piece of the root's outer HTML, and decoding references never lengthens a
// text. Input: a byte choosing the document mode, then the page as UTF-16LE.
#include "html/FriendlyError.h"
#include "html/HtmlPage.h"
#include "html/HtmlReferences.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdint>
#include <string>

namespace {

bool StartsWith(const std::wstring& str, const wchar_t* pszStart) {
    return str.compare(0, std::wstring(pszStart).size(), pszStart) == 0;
}

void CheckPage(const std::wstring& strPage, bool bModern) {
    const CHtmlPage page(strPage, bModern ? L"IE=edge" : L"");
    const std::wstring& strOuter = page.OuterHtml();
    const std::wstring& strBody = page.BodyOuterHtml();
    FUZZ_CHECK(StartsWith(strOuter, page.DocumentMode() < 9 ? L"<HTML" : L"<html"));
    FUZZ_CHECK(strOuter.size() >= 7 &&
               strOuter.compare(strOuter.size() - 7, 7,
                                page.DocumentMode() < 9 ? L"</HTML>" : L"</html>") == 0);
    FUZZ_CHECK(StartsWith(strBody, page.IsFrameset()
                                       ? (page.DocumentMode() < 9 ? L"<FRAMESET" : L"<frameset")
                                       : (page.DocumentMode() < 9 ? L"<BODY" : L"<body")));
    FUZZ_CHECK(strOuter.find(strBody) != std::wstring::npos);
    (void)page.Text();
    (void)page.Title();
    (void)page.FrameSources();
    int nSeconds = 0;
    std::wstring strUrl;
    (void)page.Refresh(nSeconds, strUrl);
    const std::wstring strDecoded = CHtmlReferences::Decode(strPage);
    FUZZ_CHECK(strDecoded.size() <= strPage.size());
    FUZZ_CHECK(strPage.find(L'&') != std::wstring::npos || strDecoded == strPage);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    std::wstring strPage;
    for (size_t i = 1; i + 1 < size; i += 2)
        strPage += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    CheckPage(strPage, (data[0] & 1) != 0);
    const unsigned long nStatus = 100 + data[0] * 2;
    FUZZ_CHECK(!CFriendlyError::ReplacesAnswer(nStatus, size) ||
               (nStatus >= 400 && nStatus <= 505 && size <= 512));
    return 0;
}
