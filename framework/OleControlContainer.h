// COleControlContainer: the hosted ActiveX controls of one window, each with
// its site. The window owns it and closes the controls on WM_DESTROY.
#pragma once

#include "framework/WinTypes.h"

#include <ole2.h>
#include <vector>

class CWnd;
class COleControlSite;

class COleControlContainer {
public:
    explicit COleControlContainer(CWnd* pWnd) : m_pWnd(pWnd) {}
    ~COleControlContainer();
    COleControlContainer(const COleControlContainer&) = delete;
    COleControlContainer& operator=(const COleControlContainer&) = delete;

    // A new control as a child window; NULL when it could not be created.
    COleControlSite* CreateControl(REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle,
                                   const RECT& rect, UINT nID, const BYTE* pInitData = nullptr,
                                   ULONG cbInitData = 0);
    // The site of a control window, or NULL.
    COleControlSite* FindItem(HWND hWnd) const;
    // Offers a key message aimed at a control (or inside it) to that control;
    // Esc is always left to the window. TRUE when the control took it.
    BOOL PreTranslateInput(MSG* pMsg) const;
    // Closes and releases every control.
    void CloseAll();

private:
    CWnd* m_pWnd;
    std::vector<COleControlSite*> m_sites;
};
