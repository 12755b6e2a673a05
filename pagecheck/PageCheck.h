// What the wizard makes of one page served at one address: how each page
// dialog acts on its load, the outer HTML the browser control gives, the body
// text and the payment test's verdict, and the server rules the page breaks.
// Native: the page is decoded with iconv, as the control decodes it.
#pragma once

#include "framework/String.h"

#include <string>
#include <vector>

class CPageCheck {
public:
    enum { CHECK_SUCCESS = 0, CHECK_FAILURE = 1, CHECK_UNUSABLE = 2 };

    // strBytes: the page as served. strCharset: the charset the server names
    // (empty: the page's own, else code page 949). strCompatible: an
    // X-UA-Compatible header, if the server sends one.
    CPageCheck(const std::string& strBytes, const std::string& strAddress,
               const std::string& strCharset = std::string(),
               const std::string& strCompatible = std::string());

    // The answer the page came with: its HTTP status (0: not known, read as
    // 200) and, when given, its raw header lines.
    void SetAnswer(unsigned long nStatus, const std::string* pHeaders);

    // Fills the report and the warnings; returns CHECK_SUCCESS, or
    // CHECK_FAILURE when the payment test ends on this page with a failure,
    // or CHECK_UNUSABLE when the input cannot be read as a page.
    int Check();

    const std::vector<std::string>& Report() const { return m_vecReport; }
    const std::vector<std::string>& Warnings() const { return m_vecWarnings; }

    // Pages the wizard server keeps under this size, in bytes.
    static const size_t MAX_PAGE = 4096;

private:
    void Say(const std::string& strLine) { m_vecReport.push_back(strLine); }
    void Warn(const std::string& strLine) { m_vecWarnings.push_back(strLine); }
    // The frame of the page whose address carries a payment-test marker; empty when none.
    std::string MarkerFrame(const std::vector<std::wstring>& vecFrames) const;
    // The control's error page in place of an error answer: how each dialog acts on it.
    int CheckErrorPage();
    // What the answer's headers let the control's cache do with a page the payment test reads.
    void CheckCaching(bool bRead);
    // Each address the page leads to whose scheme the wizard cancels.
    void CheckSchemes(const std::vector<std::pair<std::wstring, std::wstring>>& vecDestinations,
                      const std::wstring& strRefresh);

    std::string m_strBytes, m_strAddress, m_strCharset, m_strCompatible;
    unsigned long m_nStatus = 0;
    bool m_bHeaders = false;
    std::string m_strHeaders;
    std::vector<std::string> m_vecReport, m_vecWarnings;
};
