// CProgressCtrl: a progress bar control.
#pragma once

#include "framework/Wnd.h"

#include <commctrl.h>

class CProgressCtrl : public CWnd {
public:
    void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, nLower, nUpper); }
    int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, nPos, 0)); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS, 0, 0)); }
    void GetRange(int& nLower, int& nUpper) const {
        nLower = static_cast<int>(SendMessage(PBM_GETRANGE, TRUE, 0));
        nUpper = static_cast<int>(SendMessage(PBM_GETRANGE, FALSE, 0));
    }
};
