// Character and element-name classes the HTML model shares.
#pragma once
#include <initializer_list>
#include <string>

namespace HtmlText {

std::wstring Lower(std::wstring str);
std::wstring Upper(std::wstring str);
bool IsBlank(wchar_t c);
bool IsNameChar(wchar_t c);
bool OneOf(const std::wstring& str, std::initializer_list<const wchar_t*> names);
// Elements without content or end tag.
bool IsVoid(const std::wstring& strName);
// Elements the legacy serialisation writes on a line of their own: HTML 4's
// block elements, list items, table parts and BODY.
bool IsBlock(const std::wstring& strName);
// Elements whose text is taken as written: no tags, no references.
bool IsRawText(const std::wstring& strName);
// Elements that stay in the head when they come before the body.
bool IsHeadElement(const std::wstring& strName);

} // namespace HtmlText
