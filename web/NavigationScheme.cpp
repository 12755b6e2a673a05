#include "web/NavigationScheme.h"

const LPCTSTR CNavigationScheme::s_aszAllowed[] = {"http", "https", "about", "javascript", "res"};
const int CNavigationScheme::s_nAllowed =
    static_cast<int>(sizeof(s_aszAllowed) / sizeof(s_aszAllowed[0]));

namespace {
bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
} // namespace

CString CNavigationScheme::SchemeOf(const CString& address) {
    const int nLength = address.GetLength();
    // Leading spaces and control characters are skipped, as URL parsers do.
    int nStart = 0;
    while (nStart < nLength && static_cast<unsigned char>(address.GetAt(nStart)) <= ' ')
        ++nStart;
    if (nStart >= nLength || !IsAsciiLetter(address.GetAt(nStart)))
        return CString();
    for (int i = nStart + 1; i < nLength; ++i) {
        const char c = address.GetAt(i);
        if (c == ':') {
            CString strScheme = address.Mid(nStart, i - nStart);
            strScheme.MakeLower();
            return strScheme;
        }
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return CString();
    }
    return CString();
}

BOOL CNavigationScheme::IsAllowed(const CString& address) {
    const CString strScheme = SchemeOf(address);
    if (strScheme.IsEmpty())
        return FALSE;
    for (int i = 0; i < s_nAllowed; ++i) {
        if (strScheme == s_aszAllowed[i])
            return TRUE;
    }
    return FALSE;
}
