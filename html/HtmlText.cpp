#include "html/HtmlText.h"

#include <cwctype>

namespace HtmlText {

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

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f';
}

bool IsNameChar(wchar_t c) {
    return std::iswalnum(c) || c == L'-' || c == L'_' || c == L':';
}

bool OneOf(const std::wstring& str, std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* psz : names) {
        if (str == psz)
            return true;
    }
    return false;
}

bool IsVoid(const std::wstring& strName) {
    return OneOf(strName, {L"area", L"base", L"basefont", L"bgsound", L"br", L"col", L"embed",
                           L"frame", L"hr", L"img", L"input", L"isindex", L"keygen", L"link",
                           L"meta", L"param", L"source", L"track", L"wbr"});
}

bool IsBlock(const std::wstring& strName) {
    return OneOf(strName,
                 {L"address", L"blockquote", L"body", L"caption",   L"center", L"dd",    L"dir",
                  L"div",     L"dl",         L"dt",   L"fieldset",  L"form",   L"h1",    L"h2",
                  L"h3",      L"h4",         L"h5",   L"h6",        L"hr",     L"li",    L"listing",
                  L"menu",    L"ol",         L"p",    L"plaintext", L"pre",    L"table", L"tbody",
                  L"td",      L"tfoot",      L"th",   L"thead",     L"tr",     L"ul"});
}

bool IsRawText(const std::wstring& strName) {
    return OneOf(strName, {L"script", L"style", L"xmp", L"noscript", L"noframes"});
}

bool IsHeadElement(const std::wstring& strName) {
    return OneOf(strName, {L"title", L"meta", L"link", L"style", L"script", L"base"});
}

} // namespace HtmlText
