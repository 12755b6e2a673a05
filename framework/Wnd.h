// CWnd: a window object bound to one HWND. Permanent objects are found from
// their handle; messages of a subclassed window run through the class's
// message map first and fall back to the window's previous procedure.
#pragma once

#include "framework/CmdTarget.h"
#include "framework/RuntimeClass.h"
#include "framework/String.h"
#include "framework/Types.h"

#include <ole2.h>

#include <set>

class CDC;
class CMenu;
class CWnd;
class COleControlContainer;
class COleControlSite;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)

public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The permanent object of a handle, or NULL.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // The permanent object, else a temporary one that lives until the
    // outermost modal loop next runs idle.
    static CWnd* FromHandle(HWND hWnd);
    static void DeleteTempMap();
    // Handles bound to window objects now (the permanent map's entries).
    static size_t GetPermanentCount();

    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    BOOL DestroyWindow();

    CWnd* GetDlgItem(int nID) const;
    CWnd* GetParent() const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }

    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void SetWindowText(LPCTSTR text) { ::SetWindowTextA(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    CMenu* GetSystemMenu(BOOL bRevert) const;

    // The window's timers, whose ids are kept until killed or until the
    // window goes, so that the pending ones can be counted.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    size_t GetTimerCount() const { return m_timers.size(); }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // ActiveX control containment. CreateControl creates a control as a
    // child window of pParentWnd and binds this object to it; FALSE when the
    // class cannot be created or shows no window.
    BOOL CreateControl(REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID);
    // Automation call on the hosted control this window is (see
    // AfxInvokeHelperV); a failed call leaves the result zeroed.
    void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                      const BYTE* pbParamInfo, ...);
    // The hosted control's object (not AddRef'd), or NULL.
    IUnknown* GetControlUnknown() const;
    // The site of the hosted control this window is, or NULL.
    COleControlSite* GetControlSite() const;

    // The controls this window hosts (created on demand).
    COleControlContainer* m_pCtrlCont = nullptr;

    // Default processing of the message being handled now.
    LRESULT Default();
    static const MSG* GetCurrentMessage();

    // Gives each permanent window from pMsg->hwnd up to (and including)
    // hWndStop a chance to take the message before it is dispatched.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void PostNcDestroy() {}

    // Standard handlers: each does the window's default processing.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnNcHitTest(CPoint point);
    void OnTimer(UINT nIDEvent);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);

    WNDPROC m_pfnSuper = nullptr;

protected:
    // Called on WM_INITDIALOG before the dialog's own initialisation: the
    // place where controls hosted from the template are created. FALSE when
    // one could not be and the dialog has been ended instead.
    virtual BOOL CreateHostedControls() { return TRUE; }
    COleControlContainer* GetControlContainer();
    // Closes the hosted controls and lets go of their container.
    void ReleaseControlContainer();

    // Installs the hook that subclasses the next window this thread creates.
    static void HookWindowCreate(CWnd* pWnd);
    static BOOL UnhookWindowCreate();

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);

private:
    std::set<UINT_PTR> m_timers;

    BOOL DispatchEntry(const AFX_MSGMAP_ENTRY* pEntry, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* pResult);
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Binds a dialog control to a window object on the first exchange.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Handler pointer types, one per AfxSig.
typedef void (CWnd::*AFX_PMSG_vv)();
typedef void (CWnd::*AFX_PMSG_vw)(UINT);
typedef void (CWnd::*AFX_PMSG_vwl)(UINT, LPARAM);
typedef HCURSOR (CWnd::*AFX_PMSG_hv)();
typedef int (CWnd::*AFX_PMSG_is)(LPCREATESTRUCT);
typedef BOOL (CWnd::*AFX_PMSG_bD)(CDC*);
typedef LRESULT (CWnd::*AFX_PMSG_lp)(CPoint);
typedef HBRUSH (CWnd::*AFX_PMSG_hDWw)(CDC*, CWnd*, UINT);
typedef void (CWnd::*AFX_PMSG_vwp)(UINT, CPoint);

// Window-message entries; the handler keeps the class library's name.
#define AFX_WM_ENTRY(msg, sig, fn)                                                                 \
    {msg, 0, 0, 0, AfxSig_##sig, AFX_MSG_CAST(AFX_PMSG_##sig, &ThisClass::fn)},
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, vwl, OnSysCommand)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, vv, OnPaint)
#define ON_WM_QUERYDRAGICON() AFX_WM_ENTRY(WM_QUERYDRAGICON, hv, OnQueryDragIcon)
#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, is, OnCreate)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, vv, OnClose)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, vv, OnDestroy)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, bD, OnEraseBkgnd)
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, lp, OnNcHitTest)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, vw, OnTimer)
// Stands for every WM_CTLCOLORxxx message; nCtlColor tells which.
#define ON_WM_CTLCOLOR() AFX_WM_ENTRY(WM_CTLCOLOR_ANY, hDWw, OnCtlColor)
#define ON_WM_LBUTTONDOWN() AFX_WM_ENTRY(WM_LBUTTONDOWN, vwp, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(WM_LBUTTONUP, vwp, OnLButtonUp)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, vwp, OnMouseMove)

// Message number under which ON_WM_CTLCOLOR entries are filed (the 16-bit
// WM_CTLCOLOR, which no 32-bit window receives).
#define WM_CTLCOLOR_ANY 0x0019
