// CListBox: a list box control.
#pragma once

#include "framework/Wnd.h"

class CListBox : public CWnd {
public:
    int AddString(LPCTSTR text) {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    void ResetContent() { SendMessage(LB_RESETCONTENT, 0, 0); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT, 0, 0)); }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX, 0, 0)); }
    void GetText(int index, CString& text) const {
        const int length = static_cast<int>(SendMessage(LB_GETTEXTLEN, index, 0));
        if (length < 0) {
            text.Empty();
            return;
        }
        SendMessage(LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.GetBuffer(length + 1)));
        text.ReleaseBuffer(length);
    }
};
