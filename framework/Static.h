// CStatic: a static control.
#pragma once

#include "framework/Wnd.h"

class CStatic : public CWnd {
public:
    HBITMAP SetBitmap(HBITMAP hBitmap) {
        return reinterpret_cast<HBITMAP>(
            SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
    }
    // Frees the picture that a bitmap static of a dialog template loaded for
    // itself. Windows' static control frees it when destroyed, Wine's never
    // does; taken out first, it is freed once on both.
    static void DeleteTemplateBitmap(HWND hWndStatic) {
        HGDIOBJ hBitmap =
            reinterpret_cast<HGDIOBJ>(::SendMessageA(hWndStatic, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (hBitmap != nullptr)
            ::DeleteObject(hBitmap);
    }
    HBITMAP GetBitmap() const {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0));
    }
};
