// The charset a page is served in and the code page the control reads it in.
#pragma once
#include <string>

class CHtmlCharset {
public:
    // The charset a Content-Type value or a page's bytes name ("charset=..."),
    // lower-cased; empty when none is named.
    static std::string Charset(const std::string& strText);
    // The code page the control reads a charset in: 65001 (UTF-8), 949, 1252,
    // or 0 for the system's ANSI code page (an unknown or missing name).
    static int CodePage(const std::string& strCharset);
};
