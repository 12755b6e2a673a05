// COleVariant: a VARIANT that clears itself.
#pragma once

#include "framework/WinTypes.h"

#include <oleauto.h>

class COleVariant : public tagVARIANT {
public:
    COleVariant() { ::VariantInit(this); }
    // VT_BSTR holding the text widened from the ANSI code page.
    COleVariant(LPCTSTR lpszSrc);
    ~COleVariant() { ::VariantClear(this); }
    COleVariant(const COleVariant&) = delete;
    COleVariant& operator=(const COleVariant&) = delete;

    void Clear() { ::VariantClear(this); }
};
