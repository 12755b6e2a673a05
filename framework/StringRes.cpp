// Resource-backed members of the portable types.
#include "framework/Bitmap.h"
#include "framework/Convert.h"
#include "framework/String.h"
#include "framework/WinApp.h"

BOOL CString::LoadString(UINT id) {
    // With no buffer, LoadStringW points at the resource's own UTF-16 text, so
    // a string of any length converts whole.
    const wchar_t* pText = nullptr;
    const int nChars =
        ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&pText), 0);
    Empty();
    if (nChars <= 0 || pText == nullptr)
        return FALSE;
    *this = AfxW2A(pText, nChars);
    return TRUE;
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
}
