// CToolTipCtrl: a tooltip control window. The window goes with the object.
#pragma once

#include "framework/Wnd.h"

class CToolTipCtrl : public CWnd {
public:
    CToolTipCtrl() = default;
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    // Creates the tooltip window with pParentWnd as its parent (for a child,
    // the system makes the child's top-level window the owner). Fails when
    // this object already has a window.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // Registers a tool with this text. With nIDTool 0 the tool is pWnd
    // itself, known by its handle and covering its whole client area;
    // otherwise it is the rectangle lpRectTool of pWnd with that id.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
};
