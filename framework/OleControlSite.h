// COleControlSite: the container side of one hosted ActiveX control. It
// creates the control, loads its persisted state, activates it in place as
// a child window of the container window, connects its events to the
// container's event sink map and closes it again. The container holds one
// reference until it has closed the site. A browser control also reaches its
// host through the site (CDocHostSite): the answers of the container window
// (or of a window that owns it) when it is a CDocHostHandler, else the
// default ones.
#pragma once

#include "framework/ComPtr.h"
#include "framework/DocHostSite.h"
#include "framework/OleEventSink.h"
#include "framework/WinTypes.h"

#include <ocidl.h>
#include <ole2.h>

class COleControlContainer;
class CDocHostHandler;

class COleControlSite : public IOleClientSite,
                        public IOleInPlaceSite,
                        public IOleInPlaceFrame,
                        public IOleControlSite,
                        public IDispatch {
public:
    explicit COleControlSite(COleControlContainer* pCtrlCont);

    // Creates the control at rect (container client pixels) with control id
    // nID. pInitData: its persisted state (a stream), or NULL for defaults;
    // a state the control refuses gives the defaults too. FALSE (and the
    // control closed) when the control cannot be created, refuses its
    // defaults or shows no window; events that cannot be connected are not
    // a failure.
    BOOL CreateControl(REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       UINT nID, const BYTE* pInitData = nullptr, ULONG cbInitData = 0);
    // Disconnects events, closes the control and lets go of it: the one
    // place that clears the site's state.
    void Close();
    // Site objects alive now, for tests that count final releases.
    static LONG GetLiveCount();

    HWND GetHwnd() const { return m_hWnd; }
    UINT GetID() const { return m_nID; }
    IUnknown* GetControlUnknown() const { return m_pObject; }
    // The dispatch interface the control fires its events into, or NULL.
    IDispatch* GetEventSink() const;
    // The container window, or the first window owning it, that is a
    // CDocHostHandler; NULL when none is.
    CDocHostHandler* GetDocHostHandler() const;

    // Places the control at rect (container client pixels).
    void MoveWindow(const RECT& rect);
    // Offers a key message to the in-place active control. TRUE when taken.
    BOOL PreTranslateInput(MSG* pMsg);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                  LPRECT lprcPosRect, LPRECT lprcClipRect,
                                  LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT lprcPosRect) override;
    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR) override;
    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
    STDMETHODIMP GetExtendedControl(IDispatch** ppDisp) override;
    STDMETHODIMP TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer,
                                 DWORD dwFlags) override;
    // Keys the control does not use go to the container window's handling.
    STDMETHODIMP TranslateAccelerator(LPMSG pMsg, DWORD grfModifiers) override;
    STDMETHODIMP OnFocus(BOOL bGotFocus) override;
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }
    // IDispatch: the container's ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* pVarResult,
                        EXCEPINFO*, UINT*) override;

private:
    virtual ~COleControlSite();
    BOOL LoadState(const BYTE* pInitData, ULONG cbInitData);
    HWND GetContainerHwnd() const;

    LONG m_cRef = 1;
    COleControlContainer* m_pCtrlCont;
    UINT m_nID = 0;
    RECT m_rect = {};
    HWND m_hWnd = nullptr;
    CComPtr<IOleObject> m_pObject;
    CComPtr<IOleInPlaceObject> m_pInPlaceObject;
    CComPtr<IOleInPlaceActiveObject> m_pActiveObject;
    CComPtr<COleEventSink> m_pEventSink;
    CDocHostSite m_docHost{*this};
    bool m_bInPlaceActive = false;
    // Set while a key is offered to the control, so that a key it hands
    // back through TranslateAccelerator is not offered to it again.
    bool m_bOfferingKey = false;
};
