#include "html/HtmlPage.h"

#include "html/HtmlSerializer.h"
#include "html/HtmlText.h"
#include "html/HtmlTokenizer.h"
#include "html/HtmlTreeBuilder.h"

#include <algorithm>
#include <cwctype>

using namespace HtmlText;

CHtmlPage::CHtmlPage(const std::wstring& strSource, const std::wstring& strCompatible) {
    std::vector<CHtmlToken> vecTokens;
    CHtmlTokenizer::Tokenize(strSource, vecTokens);
    // A meta X-UA-Compatible wins over the response header.
    int nMode = CompatibleMode(strCompatible);
    for (const CHtmlToken& token : vecTokens) {
        if (token.eKind != CHtmlToken::kStart || token.strName != L"meta")
            continue;
        for (size_t i = 0; i < token.vecAttrs.size(); ++i) {
            if (token.vecAttrs[i].first == L"http-equiv" &&
                Lower(token.vecAttrs[i].second) == L"x-ua-compatible") {
                for (const auto& attr : token.vecAttrs) {
                    if (attr.first == L"content" && CompatibleMode(attr.second))
                        nMode = CompatibleMode(attr.second);
                }
            }
        }
    }
    m_nMode = nMode ? nMode : 7;
    CHtmlTreeBuilder builder(m_nMode);
    builder.Feed(vecTokens);
    builder.Finish();
    m_pRoot = builder.TakeRoot();
    m_pBody = builder.Body();
    m_bFrameset = builder.IsFrameset();
    const bool bLegacy = m_nMode < 9;
    CHtmlSerializer::Write(*m_pRoot, bLegacy, m_strOuter);
    CHtmlSerializer::Write(*m_pBody, bLegacy, m_strBody);
    if (bLegacy && m_strBody.compare(0, 2, L"\r\n") == 0)
        m_strBody.erase(0, 2);
}

CHtmlPage::~CHtmlPage() = default;

int CHtmlPage::CompatibleMode(const std::wstring& strValue) {
    int nMode = 0;
    const std::wstring strLower = Lower(strValue);
    size_t i = 0;
    while ((i = strLower.find(L"ie=", i)) != std::wstring::npos) {
        i += 3;
        if (strLower.compare(i, 4, L"edge") == 0) {
            nMode = std::max(nMode, 11);
            continue;
        }
        if (strLower.compare(i, 9, L"emulateie") == 0)
            i += 9;
        int n = 0;
        while (i < strLower.size() && std::iswdigit(strLower[i]))
            n = n * 10 + (strLower[i++] - L'0');
        nMode = std::max(nMode, std::min(n, 11));
    }
    return nMode;
}

std::wstring CHtmlPage::Text() const {
    std::wstring strText;
    if (!m_bFrameset) {
        m_pBody->Walk([&](const CHtmlNode& node) {
            if (node.eKind == CHtmlNode::kText)
                strText += node.strText;
            else if (node.eKind == CHtmlNode::kElement &&
                     OneOf(node.strName, {L"br", L"p", L"div"}))
                strText += L'\n';
            return node.eKind == CHtmlNode::kElement &&
                   !OneOf(node.strName, {L"script", L"style", L"title", L"noscript"});
        });
    }
    // Runs of blanks read as one space; line breaks come from the tags above.
    std::wstring strOut;
    bool bBlank = false;
    for (wchar_t c : strText) {
        if (IsBlank(c) || c == 0x00A0) {
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

std::wstring CHtmlPage::Title() const {
    std::wstring strTitle;
    bool bFound = false;
    m_pRoot->Walk([&](const CHtmlNode& node) {
        if (!bFound && node.eKind == CHtmlNode::kElement && node.strName == L"title") {
            bFound = true;
            for (const auto& pChild : node.vecChildren)
                strTitle += pChild->strText;
        }
        return !bFound;
    });
    return strTitle;
}

std::vector<std::wstring> CHtmlPage::FrameSources() const {
    std::vector<std::wstring> vecSources;
    m_pRoot->Walk([&](const CHtmlNode& node) {
        if (node.eKind == CHtmlNode::kElement && OneOf(node.strName, {L"iframe", L"frame"}) &&
            !node.Attribute(L"src").empty())
            vecSources.push_back(node.Attribute(L"src"));
        return true;
    });
    return vecSources;
}

std::vector<std::pair<std::wstring, std::wstring>> CHtmlPage::Destinations() const {
    std::vector<std::pair<std::wstring, std::wstring>> vecOut;
    m_pRoot->Walk([&](const CHtmlNode& node) {
        if (node.eKind != CHtmlNode::kElement)
            return true;
        std::wstring strAddress;
        const wchar_t* pszKind = nullptr;
        if (OneOf(node.strName, {L"a", L"area"})) {
            strAddress = node.Attribute(L"href");
            pszKind = L"link";
        } else if (node.strName == L"form") {
            strAddress = node.Attribute(L"action");
            pszKind = L"form";
        } else if (OneOf(node.strName, {L"iframe", L"frame"})) {
            strAddress = node.Attribute(L"src");
            pszKind = L"frame";
        }
        if (pszKind && !strAddress.empty())
            vecOut.emplace_back(pszKind, strAddress);
        return true;
    });
    return vecOut;
}

bool CHtmlPage::Refresh(int& nSeconds, std::wstring& strUrl) const {
    const CHtmlNode* pMeta = nullptr;
    m_pRoot->Walk([&](const CHtmlNode& node) {
        if (!pMeta && node.eKind == CHtmlNode::kElement && node.strName == L"meta" &&
            Lower(node.Attribute(L"http-equiv")) == L"refresh")
            pMeta = &node;
        return !pMeta;
    });
    if (!pMeta)
        return false;
    const std::wstring strContent = pMeta->Attribute(L"content");
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
        while (!strUrl.empty() && (strUrl[0] == L' ' || strUrl[0] == L'\'' || strUrl[0] == L'"'))
            strUrl.erase(0, 1);
    }
    return true;
}
