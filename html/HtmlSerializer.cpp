#include "html/HtmlSerializer.h"

#include "html/HtmlText.h"

#include <algorithm>
#include <cwctype>

using HtmlText::IsRawText;
using HtmlText::IsVoid;

namespace {

void EscapeText(const std::wstring& str, bool bAttribute, std::wstring& strOut) {
    for (wchar_t c : str) {
        if (c == L'&')
            strOut += L"&amp;";
        else if (c == 0x00A0)
            strOut += L"&nbsp;";
        else if (c == L'"' && bAttribute)
            strOut += L"&quot;";
        else if ((c == L'<' || c == L'>') && !bAttribute)
            strOut += c == L'<' ? L"&lt;" : L"&gt;";
        else
            strOut += c;
    }
}

// KB206891: the default modes strip the quotes of values that need none; here
// those of letters, digits and -_.# only, any other is written in double
// quotes. Modern modes quote every value.
bool IsPlainValue(const std::wstring& str) {
    return !str.empty() && std::all_of(str.begin(), str.end(), [](wchar_t c) {
        return c < 0x80 && (std::iswalnum(c) || c == L'-' || c == L'_' || c == L'.' || c == L'#');
    });
}

void Serialise(const CHtmlNode& node, bool bLegacy, bool bRawParent, std::wstring& strOut) {
    if (node.eKind == CHtmlNode::kText) {
        if (bRawParent)
            strOut += node.strText;
        else
            EscapeText(node.strText, false, strOut);
        return;
    }
    if (node.eKind == CHtmlNode::kComment) {
        strOut += L"<!--" + node.strText + L"-->";
        return;
    }
    // KB206891 and D tagName "HTML": capitals, and a line break (CR LF) before each
    // block-level start tag, in the default modes; documentmode.js in mode 11:
    // "<b>bold</b>".
    const std::wstring strName = bLegacy ? HtmlText::Upper(node.strName) : node.strName;
    if (bLegacy && HtmlText::IsBlock(node.strName))
        strOut += L"\r\n";
    strOut += L"<" + strName;
    for (size_t i = 0; i < node.vecAttrs.size(); ++i) {
        const std::wstring& strValue = node.vecAttrs[i].second;
        strOut += L" " + node.vecAttrs[i].first;
        if (bLegacy && !node.vecHasValue[i])
            continue;
        if (bLegacy && IsPlainValue(strValue)) {
            strOut += L"=" + strValue;
            continue;
        }
        strOut += L"=\"";
        EscapeText(strValue, true, strOut);
        strOut += L"\"";
    }
    strOut += L">";
    if (IsVoid(node.strName))
        return;
    for (const auto& pChild : node.vecChildren)
        Serialise(*pChild, bLegacy, IsRawText(node.strName), strOut);
    strOut += L"</" + strName + L">";
}

} // namespace

void CHtmlSerializer::Write(const CHtmlNode& node, bool bLegacy, std::wstring& strOut) {
    Serialise(node, bLegacy, false, strOut);
}
