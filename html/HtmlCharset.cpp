#include "html/HtmlCharset.h"

#include <cctype>

std::string CHtmlCharset::Charset(const std::string& strText) {
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

int CHtmlCharset::CodePage(const std::string& strCharset) {
    if (strCharset == "utf-8" || strCharset == "utf8")
        return 65001;
    if (strCharset == "euc-kr" || strCharset == "cp949" || strCharset == "ks_c_5601-1987" ||
        strCharset == "windows-949" || strCharset == "x-windows-949" || strCharset == "uhc")
        return 949;
    if (strCharset == "iso-8859-1" || strCharset == "us-ascii" || strCharset == "windows-1252")
        return 1252;
    return 0;
}
