// Resource-backed members of the portable types.
#include "framework/Bitmap.h"
#include "framework/String.h"
#include "framework/WinApp.h"

BOOL CString::LoadString(UINT id) {
    // A string resource holds at most 65535 characters; two bytes each in
    // code page 949 is the most the conversion can need.
    char buffer[4096];
    int length = ::LoadStringA(AfxGetResourceHandle(), id, buffer, sizeof(buffer));
    if (length <= 0) {
        Empty();
        return FALSE;
    }
    *this = CString(buffer, length);
    return TRUE;
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
}
