#include "wizard/PaymentVerdict.h"

#ifndef _WIN32
#include <cstring>
#endif

CString TakeToken(CString& text, CString separator) {
    const int pos = text.Find(separator, 0);
    if (pos < 0)
        return text;
    const CString strToken = text.Left(pos);
    const int skip = pos + separator.GetLength();
    text = text.Mid(skip, text.GetLength() - skip);
    return strToken;
}

CString ToLower(CString text) {
    text.MakeLower();
    return text;
}

int CompareLower(CString a, CString b) {
    const CString strA = ToLower(a);
    const CString strB = ToLower(b);
#ifdef _WIN32
    return lstrcmpA(strA, strB);
#else
    return std::strcmp(strA, strB);
#endif
}

int PaymentVerdict(const CString& result) {
    CString strText = result;
    const CString strFlag = TakeToken(strText, "|");
    return CompareLower(strFlag, "y") == 0 ? 1 : 0;
}
