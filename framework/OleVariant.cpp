#include "framework/OleVariant.h"

COleVariant::COleVariant(LPCTSTR lpszSrc) {
    ::VariantInit(this);
    if (lpszSrc == nullptr)
        return;
    const int nChars = ::MultiByteToWideChar(CP_ACP, 0, lpszSrc, -1, nullptr, 0);
    if (nChars <= 0)
        return;
    BSTR bstr = ::SysAllocStringLen(nullptr, static_cast<UINT>(nChars - 1));
    if (bstr == nullptr)
        return;
    ::MultiByteToWideChar(CP_ACP, 0, lpszSrc, -1, bstr, nChars);
    vt = VT_BSTR;
    bstrVal = bstr;
}
