#include "html/HtmlTokenizer.h"

#include "html/HtmlReferences.h"
#include "html/HtmlText.h"

#include <algorithm>
#include <cwctype>

using namespace HtmlText;

namespace {

// End of a tag that starts at nStart: the '>' outside quoted values (or the text's end).
size_t TagEnd(const std::wstring& str, size_t nStart) {
    wchar_t cQuote = 0;
    bool bAfterEquals = false;
    for (size_t i = nStart + 1; i < str.size(); ++i) {
        const wchar_t c = str[i];
        if (cQuote) {
            if (c == cQuote)
                cQuote = 0;
        } else if ((c == L'"' || c == L'\'') && bAfterEquals) {
            cQuote = c;
        } else if (c == L'>') {
            return i + 1;
        }
        if (!cQuote && !IsBlank(c))
            bAfterEquals = c == L'=';
    }
    return str.size();
}

// Attributes of a start tag's text after its name; values decoded, names lower case.
void ReadAttributes(const std::wstring& str, size_t i, size_t nEnd,
                    std::vector<std::pair<std::wstring, std::wstring>>& vecAttrs,
                    std::vector<bool>& vecHasValue) {
    while (i < nEnd) {
        while (i < nEnd && (IsBlank(str[i]) || str[i] == L'/'))
            ++i;
        const size_t nName = i;
        while (i < nEnd && !IsBlank(str[i]) && str[i] != L'=' && str[i] != L'>' &&
               !(str[i] == L'/' && i + 1 < nEnd && str[i + 1] == L'>'))
            ++i;
        if (i == nName)
            break;
        const std::wstring strName = Lower(str.substr(nName, i - nName));
        std::wstring strValue;
        bool bValue = false;
        size_t j = i;
        while (j < nEnd && IsBlank(str[j]))
            ++j;
        if (j < nEnd && str[j] == L'=') {
            bValue = true;
            i = j + 1;
            while (i < nEnd && IsBlank(str[i]))
                ++i;
            if (i < nEnd && (str[i] == L'"' || str[i] == L'\'')) {
                const size_t nClose = str.find(str[i], i + 1);
                const size_t nStop = nClose == std::wstring::npos || nClose > nEnd ? nEnd : nClose;
                strValue = str.substr(i + 1, nStop - i - 1);
                i = nStop + 1;
            } else {
                const size_t nValue = i;
                while (i < nEnd && !IsBlank(str[i]) && str[i] != L'>')
                    ++i;
                strValue = str.substr(nValue, i - nValue);
            }
        }
        const bool bDuplicate = std::any_of(vecAttrs.begin(), vecAttrs.end(),
                                            [&](const auto& a) { return a.first == strName; });
        if (!bDuplicate) {
            vecAttrs.emplace_back(strName, CHtmlReferences::Decode(strValue));
            vecHasValue.push_back(bValue);
        }
    }
}

void AddText(std::vector<CHtmlToken>& vecTokens, const std::wstring& strText, bool bRaw) {
    if (strText.empty())
        return;
    if (!vecTokens.empty() && vecTokens.back().eKind == CHtmlToken::kText &&
        vecTokens.back().bRaw == bRaw) {
        vecTokens.back().strText += strText;
        return;
    }
    CHtmlToken token{CHtmlToken::kText, L"", {}, {}, strText, bRaw};
    vecTokens.push_back(token);
}

} // namespace

void CHtmlTokenizer::Tokenize(const std::wstring& str, std::vector<CHtmlToken>& vecTokens) {
    const std::wstring strLower = Lower(str);
    size_t i = 0;
    while (i < str.size()) {
        const bool bTagStart = str[i] == L'<' && i + 1 < str.size() &&
                               (std::iswalpha(str[i + 1]) || str[i + 1] == L'/' ||
                                str[i + 1] == L'!' || str[i + 1] == L'?');
        if (!bTagStart) {
            const size_t nNext = str.find(L'<', i + 1);
            const size_t nEnd = nNext == std::wstring::npos ? str.size() : nNext;
            AddText(vecTokens, CHtmlReferences::Decode(str.substr(i, nEnd - i)), false);
            i = nEnd;
            continue;
        }
        if (str.compare(i, 4, L"<!--") == 0) {
            const size_t nClose = str.find(L"-->", i + 4);
            const size_t nEnd = nClose == std::wstring::npos ? str.size() : nClose;
            vecTokens.push_back(
                {CHtmlToken::kComment, L"", {}, {}, str.substr(i + 4, nEnd - i - 4)});
            i = nEnd == str.size() ? nEnd : nEnd + 3;
            continue;
        }
        const size_t nEnd = TagEnd(str, i);
        const size_t nInner = nEnd > i + 1 && str[nEnd - 1] == L'>' ? nEnd - 1 : nEnd;
        if (str[i + 1] == L'!' || str[i + 1] == L'?') {
            const bool bDownlevel = str.compare(i, 3, L"<![") == 0;
            const bool bDoctype = Lower(str.substr(i, 9)) == L"<!doctype";
            const CHtmlToken::EKind eKind = bDownlevel ? CHtmlToken::kDownlevel
                                            : bDoctype ? CHtmlToken::kDoctype
                                                       : CHtmlToken::kComment;
            vecTokens.push_back({eKind, L"", {}, {}, str.substr(i + 2, nInner - i - 2)});
            i = nEnd;
            continue;
        }
        CHtmlToken token{
            str[i + 1] == L'/' ? CHtmlToken::kEnd : CHtmlToken::kStart, L"", {}, {}, L""};
        size_t nName = i + (token.eKind == CHtmlToken::kEnd ? 2 : 1);
        while (nName < nInner && IsNameChar(str[nName]))
            token.strName += str[nName++];
        token.strName = Lower(token.strName);
        if (token.eKind == CHtmlToken::kStart)
            ReadAttributes(str, nName, nInner, token.vecAttrs, token.vecHasValue);
        const std::wstring strName = token.strName;
        vecTokens.push_back(token);
        i = nEnd;
        if (token.eKind == CHtmlToken::kStart &&
            (IsRawText(strName) || strName == L"title" || strName == L"textarea")) {
            // Their text runs to their end tag, whatever it holds.
            const size_t nClose = strLower.find(L"</" + strName, i);
            const size_t nText = nClose == std::wstring::npos ? str.size() : nClose;
            const std::wstring strText = str.substr(i, nText - i);
            const bool bRaw = IsRawText(strName);
            AddText(vecTokens, bRaw ? strText : CHtmlReferences::Decode(strText), bRaw);
            i = nText;
        }
    }
}
