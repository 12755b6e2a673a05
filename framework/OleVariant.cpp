#include "framework/OleVariant.h"

#include "framework/Convert.h"

COleVariant::COleVariant(LPCTSTR lpszSrc) {
    ::VariantInit(this);
    if (lpszSrc == nullptr)
        return;
    const std::wstring strWide = AfxA2W(lpszSrc);
    BSTR bstr = ::SysAllocStringLen(strWide.c_str(), static_cast<UINT>(strWide.size()));
    if (bstr == nullptr)
        return;
    vt = VT_BSTR;
    bstrVal = bstr;
}
