#include "tools/standin/HtmlPage.h"

#include <cctype>
#include <cwctype>

namespace {

std::wstring Lower(std::wstring str) {
    for (wchar_t& c : str)
        c = static_cast<wchar_t>(std::towlower(c));
    return str;
}

std::wstring Upper(std::wstring str) {
    for (wchar_t& c : str)
        c = static_cast<wchar_t>(std::towupper(c));
    return str;
}

bool IsNameChar(wchar_t c) {
    return std::iswalnum(c) || c == L'-' || c == L'_' || c == L':';
}

// End of a tag that starts at nStart: the '>' outside quotes (or the text's end).
size_t TagEnd(const std::wstring& str, size_t nStart) {
    wchar_t cQuote = 0;
    for (size_t i = nStart + 1; i < str.size(); ++i) {
        const wchar_t c = str[i];
        if (cQuote) {
            if (c == cQuote)
                cQuote = 0;
        } else if (c == L'"' || c == L'\'') {
            cQuote = c;
        } else if (c == L'>') {
            return i + 1;
        }
    }
    return str.size();
}

} // namespace

CHtmlPage::CHtmlPage(const std::wstring& strSource) {
    Tokenize(strSource);
    BuildOuter();
}

void CHtmlPage::Tokenize(const std::wstring& str) {
    size_t i = 0;
    while (i < str.size()) {
        const bool bTagStart = str[i] == L'<' && i + 1 < str.size() &&
                               (std::iswalpha(str[i + 1]) || str[i + 1] == L'/' ||
                                str[i + 1] == L'!' || str[i + 1] == L'?');
        if (!bTagStart) {
            const size_t nNext = str.find(L'<', i + 1);
            const size_t nEnd = nNext == std::wstring::npos ? str.size() : nNext;
            if (!m_vecTokens.empty() && !m_vecTokens.back().bTag)
                m_vecTokens.back().strRaw += str.substr(i, nEnd - i);
            else
                m_vecTokens.push_back({false, false, L"", str.substr(i, nEnd - i)});
            i = nEnd;
            continue;
        }
        size_t nEnd;
        if (str.compare(i, 4, L"<!--") == 0) {
            const size_t nClose = str.find(L"-->", i + 4);
            nEnd = nClose == std::wstring::npos ? str.size() : nClose + 3;
        } else {
            nEnd = TagEnd(str, i);
        }
        CToken token{true, str[i + 1] == L'/', L"", str.substr(i, nEnd - i)};
        size_t nName = i + (token.bEnd ? 2 : 1);
        while (nName < nEnd && IsNameChar(str[nName]))
            token.strName += str[nName++];
        token.strName = Lower(token.strName);
        const std::wstring strName = token.strName;
        const bool bRawText = !token.bEnd && (strName == L"script" || strName == L"style");
        m_vecTokens.push_back(token);
        i = nEnd;
        if (bRawText) {
            // Script and style text runs to its end tag, whatever it holds.
            const size_t nClose = Lower(str).find(L"</" + strName, i);
            const size_t nText = nClose == std::wstring::npos ? str.size() : nClose;
            if (nText > i)
                m_vecTokens.push_back({false, false, L"", str.substr(i, nText - i)});
            i = nText;
        }
    }
}

void CHtmlPage::BuildOuter() {
    size_t nFirst = 0;
    bool bRoot = false;
    for (size_t i = 0; i < m_vecTokens.size(); ++i) {
        if (m_vecTokens[i].bTag && !m_vecTokens[i].bEnd && m_vecTokens[i].strName == L"html") {
            nFirst = i;
            bRoot = true;
            break;
        }
    }
    std::wstring strOuter = bRoot ? L"" : L"<HTML>";
    bool bInBody = false;
    for (size_t i = nFirst; i < m_vecTokens.size(); ++i) {
        const CToken& token = m_vecTokens[i];
        std::wstring strPart = token.strRaw;
        if (token.bTag && !token.strName.empty()) {
            // The tag name in capitals, the rest of the tag as served.
            const size_t nName = token.bEnd ? 2 : 1;
            strPart.replace(nName, token.strName.size(), Upper(token.strName));
        } else if (token.bTag && !bRoot && token.strRaw.compare(0, 2, L"<!") == 0) {
            continue; // a document type or comment before the content
        }
        strOuter += strPart;
        if (token.bTag && token.strName == L"body")
            bInBody = !token.bEnd;
        if (bInBody || (token.bTag && token.bEnd && token.strName == L"body"))
            m_strBody += strPart;
        if (bRoot && token.bTag && token.bEnd && token.strName == L"html")
            break;
    }
    if (!bRoot)
        strOuter += L"</HTML>";
    m_strOuter = strOuter;
}

std::wstring CHtmlPage::Text() const {
    bool bHasBody = !m_strBody.empty();
    bool bInBody = !bHasBody;
    bool bHidden = false;
    std::wstring strText;
    for (const CToken& token : m_vecTokens) {
        if (token.bTag) {
            if (token.strName == L"body")
                bInBody = !token.bEnd;
            else if (token.strName == L"head" || token.strName == L"script" ||
                     token.strName == L"style" || token.strName == L"title")
                bHidden = !token.bEnd;
            else if (token.strName == L"br" || token.strName == L"p" || token.strName == L"div")
                strText += L'\n';
            continue;
        }
        if (bInBody && !bHidden)
            strText += token.strRaw;
    }
    // Runs of blanks read as one space; line breaks come from the tags above.
    std::wstring strOut;
    bool bBlank = false;
    for (wchar_t c : strText) {
        if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n') {
            if (c == L'\n' && !strOut.empty() && strOut.back() != L'\n')
                strOut += L'\n', bBlank = false;
            else
                bBlank = true;
            continue;
        }
        if (bBlank && !strOut.empty() && strOut.back() != L'\n')
            strOut += L' ';
        bBlank = false;
        strOut += c;
    }
    return strOut;
}

std::vector<std::wstring> CHtmlPage::FrameSources() const {
    std::vector<std::wstring> vecSources;
    for (const CToken& token : m_vecTokens) {
        if (token.bTag && !token.bEnd &&
            (token.strName == L"iframe" || token.strName == L"frame")) {
            const std::wstring strSrc = Attribute(token.strRaw, L"src");
            if (!strSrc.empty())
                vecSources.push_back(strSrc);
        }
    }
    return vecSources;
}

bool CHtmlPage::Refresh(int& nSeconds, std::wstring& strUrl) const {
    for (const CToken& token : m_vecTokens) {
        if (!token.bTag || token.bEnd || token.strName != L"meta" ||
            Lower(Attribute(token.strRaw, L"http-equiv")) != L"refresh")
            continue;
        const std::wstring strContent = Attribute(token.strRaw, L"content");
        size_t i = 0;
        nSeconds = 0;
        while (i < strContent.size() && std::iswdigit(strContent[i]))
            nSeconds = nSeconds * 10 + (strContent[i++] - L'0');
        if (i == 0)
            return false;
        const size_t nUrl = Lower(strContent).find(L"url=", i);
        strUrl.clear();
        if (nUrl != std::wstring::npos) {
            strUrl = strContent.substr(nUrl + 4);
            while (!strUrl.empty() &&
                   (strUrl.back() == L' ' || strUrl.back() == L'\'' || strUrl.back() == L'"'))
                strUrl.pop_back();
            while (!strUrl.empty() &&
                   (strUrl[0] == L' ' || strUrl[0] == L'\'' || strUrl[0] == L'"'))
                strUrl.erase(0, 1);
        }
        return true;
    }
    return false;
}

std::wstring CHtmlPage::Attribute(const std::wstring& strRaw, const wchar_t* pszName) {
    size_t i = 1;
    while (i < strRaw.size() && IsNameChar(strRaw[i]))
        ++i;
    while (i < strRaw.size()) {
        while (i < strRaw.size() && (std::iswspace(strRaw[i]) || strRaw[i] == L'/'))
            ++i;
        const size_t nName = i;
        while (i < strRaw.size() && !std::iswspace(strRaw[i]) && strRaw[i] != L'=' &&
               strRaw[i] != L'>')
            ++i;
        if (i == nName)
            break;
        const std::wstring strName = Lower(strRaw.substr(nName, i - nName));
        std::wstring strValue;
        while (i < strRaw.size() && std::iswspace(strRaw[i]))
            ++i;
        if (i < strRaw.size() && strRaw[i] == L'=') {
            ++i;
            while (i < strRaw.size() && std::iswspace(strRaw[i]))
                ++i;
            if (i < strRaw.size() && (strRaw[i] == L'"' || strRaw[i] == L'\'')) {
                const size_t nClose = strRaw.find(strRaw[i], i + 1);
                const size_t nEnd = nClose == std::wstring::npos ? strRaw.size() : nClose;
                strValue = strRaw.substr(i + 1, nEnd - i - 1);
                i = nEnd + 1;
            } else {
                const size_t nValue = i;
                while (i < strRaw.size() && !std::iswspace(strRaw[i]) && strRaw[i] != L'>')
                    ++i;
                strValue = strRaw.substr(nValue, i - nValue);
            }
        }
        if (strName == pszName)
            return strValue;
    }
    return std::wstring();
}

std::string CHtmlPage::Charset(const std::string& strText) {
    std::string strLower = strText;
    for (char& c : strLower)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const size_t nAt = strLower.find("charset=");
    if (nAt == std::string::npos)
        return std::string();
    size_t i = nAt + 8;
    while (i < strLower.size() && (strLower[i] == '"' || strLower[i] == '\''))
        ++i;
    std::string strName;
    while (i < strLower.size() && (std::isalnum(static_cast<unsigned char>(strLower[i])) ||
                                   strLower[i] == '-' || strLower[i] == '_'))
        strName += strLower[i++];
    return strName;
}
