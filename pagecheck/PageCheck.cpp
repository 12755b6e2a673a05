#include "pagecheck/PageCheck.h"

#include "html/FriendlyError.h"
#include "html/HtmlCharset.h"
#include "html/HtmlPage.h"
#include "web/NavigationScheme.h"
#include "web/PageCompletion.h"
#include "pagecheck/ResponseHeaders.h"
#include "wizard/PaymentVerdict.h"

#include <cerrno>
#include <ctime>
#include <iconv.h>

namespace {

// The iconv name of a charset as the control reads it; unnamed and unknown
// charsets are the system's ANSI code page, 949 on Korean Windows.
const char* CodeSet(const std::string& strCharset) {
    switch (CHtmlCharset::CodePage(strCharset)) {
    case 65001:
        return "UTF-8";
    case 1252:
        return "CP1252";
    default:
        return "CP949";
    }
}

// Converts with iconv; an unconvertible unit of unitSize input bytes becomes
// the replacement text. FALSE when iconv has no such conversion.
bool Convert(const char* pszFrom, const char* pszTo, const std::string& strIn, size_t unitSize,
             const std::string& strReplacement, std::string& strOut) {
    iconv_t cd = iconv_open(pszTo, pszFrom);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string strIn2 = strIn;
    char* pIn = strIn2.empty() ? nullptr : &strIn2[0];
    size_t nIn = strIn2.size();
    strOut.clear();
    char buffer[4096];
    while (nIn > 0) {
        char* pOut = buffer;
        size_t nOut = sizeof buffer;
        const size_t r = iconv(cd, &pIn, &nIn, &pOut, &nOut);
        strOut.append(buffer, static_cast<size_t>(pOut - buffer));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            const size_t nSkip = std::min(unitSize, nIn); // EILSEQ or a cut-off tail
            pIn += nSkip;
            nIn -= nSkip;
            strOut += strReplacement;
        }
    }
    iconv_close(cd);
    return true;
}

std::wstring Widen(const std::string& strBytes, const char* pszCodeSet) {
    std::string strWide;
    const wchar_t replacement = 0xFFFD;
    Convert(pszCodeSet, "WCHAR_T", strBytes, 1,
            std::string(reinterpret_cast<const char*>(&replacement), sizeof replacement), strWide);
    return std::wstring(reinterpret_cast<const wchar_t*>(strWide.data()),
                        strWide.size() / sizeof(wchar_t));
}

// As the program converts the control's text: the ANSI code page, "?" for
// what it lacks.
std::string Narrow(const std::wstring& str) {
    std::string strOut;
    Convert("WCHAR_T", "CP949",
            std::string(reinterpret_cast<const char*>(str.data()), str.size() * sizeof(wchar_t)),
            sizeof(wchar_t), "?", strOut);
    return strOut;
}

// A frame's address as the control completes it: relative sources against the page's.
std::string Resolve(const std::string& strBase, const std::string& strSource) {
    if (strSource.find("://") != std::string::npos)
        return strSource;
    const size_t nHost = strBase.find("://");
    const size_t nPath = strBase.find('/', nHost == std::string::npos ? 0 : nHost + 3);
    if (!strSource.empty() && strSource[0] == '/')
        return strBase.substr(0, nPath) + strSource;
    const size_t nCut = strBase.find_first_of("?#");
    const size_t nSlash = strBase.rfind('/', nCut);
    if (nPath == std::string::npos || nSlash == std::string::npos || nSlash < nPath)
        return strBase.substr(0, nCut) + "/" + strSource;
    return strBase.substr(0, nSlash + 1) + strSource;
}

std::string Quoted(const std::string& str) {
    return "\"" + str + "\"";
}

} // namespace

CPageCheck::CPageCheck(const std::string& strBytes, const std::string& strAddress,
                       const std::string& strCharset, const std::string& strCompatible)
    : m_strBytes(strBytes), m_strAddress(strAddress), m_strCharset(strCharset),
      m_strCompatible(strCompatible) {}

void CPageCheck::SetAnswer(unsigned long nStatus, const std::string* pHeaders) {
    m_nStatus = nStatus;
    m_bHeaders = pHeaders != nullptr;
    m_strHeaders = pHeaders ? *pHeaders : std::string();
}

std::string CPageCheck::MarkerFrame(const std::vector<std::wstring>& vecFrames) const {
    for (const std::wstring& strFrame : vecFrames) {
        const std::string strFrameAddress = Resolve(m_strAddress, Narrow(strFrame));
        if (CPageCompletion::PayTest().HasEndMarker(CString(strFrameAddress.c_str())))
            return strFrameAddress;
    }
    return std::string();
}

int CPageCheck::Check() {
    m_vecReport.clear();
    m_vecWarnings.clear();
    if (m_strAddress.find("://") == std::string::npos) {
        Say("unusable: the address " + Quoted(m_strAddress) + " is not an absolute address");
        return CHECK_UNUSABLE;
    }
    if (m_strBytes.find('\0') != std::string::npos) {
        Say("unusable: the page holds zero bytes; it is no text page");
        return CHECK_UNUSABLE;
    }
    if (CFriendlyError::ReplacesAnswer(m_nStatus, m_strBytes.size()))
        return CheckErrorPage();
    const std::string strCharset =
        m_strCharset.empty() ? CHtmlCharset::Charset(m_strBytes) : m_strCharset;
    std::string strBytes = m_strBytes;
    const bool bBom = strBytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (bBom)
        strBytes.erase(0, 3);
    const char* pszCodeSet = bBom ? "UTF-8" : CodeSet(strCharset);
    const CHtmlPage page(Widen(strBytes, pszCodeSet), Widen(m_strCompatible, "UTF-8"));
    Say("address: " + m_strAddress);
    Say("page: " + std::to_string(m_strBytes.size()) + " bytes, read as " + pszCodeSet);

    const CString strAddress(m_strAddress.c_str());
    if (CPageCompletion::SetupPage().HasEndMarker(strAddress))
        Say("setup page dialog: ends on this load (\"wizard_install\" in the address); the "
            "page's text is not read");
    else
        Say("setup page dialog: shows the page (no \"wizard_install\" in the address)");
    bool bEnds = CPageCompletion::PayTest().HasEndMarker(strAddress);
    if (bEnds) {
        Say("payment-test dialog: ends on this load (\"wizard_result\" or \"wizard_install\" in "
            "the address) and reads the result from this document");
    } else {
        const std::string strFrame = MarkerFrame(page.FrameSources());
        bEnds = !strFrame.empty();
        if (bEnds)
            Say("payment-test dialog: ends when this page's frame " + strFrame +
                " completes, and reads the result from this document");
        else
            Say("payment-test dialog: shows the page and goes on (no \"wizard_result\" or "
                "\"wizard_install\" in the address or a frame's)");
    }
    int nRefresh = 0;
    std::wstring strRefresh;
    if (page.Refresh(nRefresh, strRefresh))
        Say("meta refresh: " + Resolve(m_strAddress, Narrow(strRefresh)) + " after " +
            std::to_string(nRefresh) + " s");

    Say("document mode: " + std::to_string(page.DocumentMode()) +
        (page.DocumentMode() < 9 ? " (default)" : " (modern: tag names in lower case)"));
    const std::string strOuter = Narrow(page.OuterHtml());
    Say("outer HTML, as the control gives it (" + std::to_string(strOuter.size()) +
        " bytes in code page 949):");
    Say(strOuter);
    const CString strBody = CPageCompletion::BodyText(CString(strOuter.c_str()));
    Say("body text: " + Quoted(strBody.GetString()));
    const int nVerdict = PaymentVerdict(strBody);
    CString strFlag = strBody;
    const CString strFlagText = TakeToken(strFlag, "|");
    Say(std::string("verdict: ") + (nVerdict == 1 ? "success" : "failure") + " (flag " +
        Quoted(strFlagText.GetString()) + ")" +
        (bEnds ? "" : ", were the payment test to end on this document"));

    if (page.DocumentMode() >= 9)
        Warn("the page asks for document mode " + std::to_string(page.DocumentMode()) +
             " (X-UA-Compatible): tag names come back in lower case and \"<BODY>\" is not "
             "found; keep the default mode");
    if (page.IsFrameset())
        Warn("the page is a frameset: its document has no BODY; use inline frames in a "
             "normal page");
    if (strOuter.find("<BODY ") != std::string::npos ||
        strOuter.find("<body ") != std::string::npos)
        Warn("the body start tag has attributes: the wizard matches a bare \"<BODY>\"");
    if (bEnds && !strBody.IsEmpty() && strBody.Find('|') < 0)
        Warn("the result text has no \"|\" after its flag: write flag|message|");
    if (m_strBytes.size() >= MAX_PAGE || strOuter.size() >= MAX_PAGE)
        Warn("the page is " + std::to_string(m_strBytes.size()) + " bytes served, " +
             std::to_string(strOuter.size()) + " bytes of outer HTML: keep both under " +
             std::to_string(MAX_PAGE));
    if (m_nStatus >= 400) {
        const size_t nThreshold = CFriendlyError::Threshold(m_nStatus);
        Warn("the answer's status is " + std::to_string(m_nStatus) + ", yet the control shows " +
             "this page of the server's own (" +
             (nThreshold ? "longer than its threshold of " + std::to_string(nThreshold) + " bytes"
                         : "it has no error page of its own for this status") +
             ") and the wizard reads it like any page" +
             (bEnds && nVerdict == 1 ? ": a SUCCESS on an error answer" : ""));
    }
    CheckCaching(bEnds);
    CheckSchemes(page.Destinations(), strRefresh);
    return bEnds && nVerdict != 1 ? CHECK_FAILURE : CHECK_SUCCESS;
}

// A relative address takes the page's own scheme; one with another scheme
// than the allowed ones is cancelled by the wizard before the control follows it.
void CPageCheck::CheckSchemes(
    const std::vector<std::pair<std::wstring, std::wstring>>& vecDestinations,
    const std::wstring& strRefresh) {
    std::vector<std::pair<std::wstring, std::wstring>> vecAll = vecDestinations;
    if (!strRefresh.empty())
        vecAll.emplace_back(L"refresh", strRefresh);
    std::string strAllowed;
    for (int i = 0; i < CNavigationScheme::s_nAllowed; ++i)
        strAllowed += std::string(i ? ", " : "") + CNavigationScheme::s_aszAllowed[i] + ":";
    for (const auto& destination : vecAll) {
        const CString strAddress(Narrow(destination.second).c_str());
        const CString strScheme = CNavigationScheme::SchemeOf(strAddress);
        if (strScheme.IsEmpty() || CNavigationScheme::IsAllowed(strAddress))
            continue;
        Warn("a " + Narrow(destination.first) + " leads to " + Quoted(strAddress.GetString()) +
             ": the wizard cancels a navigation to the scheme " + strScheme.GetString() +
             " (it allows " + strAllowed + ")");
    }
}

int CPageCheck::CheckErrorPage() {
    const std::string strError =
        Narrow(CFriendlyError::ErrorAddress(Widen(m_strAddress, "UTF-8"), m_nStatus));
    const std::string strStatus = std::to_string(m_nStatus);
    const std::string strThreshold = std::to_string(CFriendlyError::Threshold(m_nStatus));
    Say("address: " + m_strAddress);
    Say("answer: status " + strStatus + ", " + std::to_string(m_strBytes.size()) +
        " bytes, at most the control's threshold of " + strThreshold +
        " bytes: the control shows its own error page at " + strError);
    const CString strErrorAddress(strError.c_str());
    if (CPageCompletion::SetupPage().HasEndMarker(strErrorAddress))
        Say("setup page dialog: ends on the error page (\"wizard_install\" in the failed "
            "address), as after a completed flow");
    else
        Say("setup page dialog: shows the error page until the customer clicks its OK picture");
    const bool bEnds = CPageCompletion::PayTest().HasEndMarker(strErrorAddress);
    if (bEnds)
        Say("payment-test dialog: ends on the error page (a marker in the failed address) and "
            "reads the control's own page: verdict: failure");
    else
        Say("payment-test dialog: shows the error page until its time-out or Esc: verdict: "
            "failure");
    Warn("status " + strStatus + " with a page of at most " + strThreshold +
         " bytes: the customer sees the control's error page, not the server's");
    return bEnds ? CHECK_FAILURE : CHECK_SUCCESS;
}

void CPageCheck::CheckCaching(bool bRead) {
    if (!m_bHeaders)
        return;
    const std::string strWhy = CResponseHeaders(m_strHeaders).CachingAllowed(std::time(nullptr));
    Say("cache: " + (strWhy.empty()
                         ? "the headers make the control ask the server again on every run"
                         : strWhy));
    if (bRead && !strWhy.empty())
        Warn("the payment test reads this page and its headers let the control cache it (" +
             strWhy +
             "): a later run can read this run's verdict; send Cache-Control: "
             "no-cache, no-store and Expires: -1");
}
