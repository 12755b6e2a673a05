// COleControlSite: the container side of one hosted ActiveX control. It
// creates the control, loads its persisted state, activates it in place as
// a child window of the container window, connects its events to the
// container's event sink map and closes it again.
#pragma once

#include "framework/WinTypes.h"

#include <ole2.h>

class CWnd;
class COleEventSink;

class COleControlSite : public IOleClientSite,
                        public IOleInPlaceSite,
                        public IOleInPlaceFrame,
                        public IDispatch {
public:
    explicit COleControlSite(CWnd* pWndContainer) : m_pWndContainer(pWndContainer) {}

    // Creates the control at rect (container client pixels) with control id
    // nID. pInitData: its persisted state (a stream), or NULL for defaults;
    // a state the control refuses gives the defaults too. FALSE (and nothing
    // left) when the control cannot be created or shows no window.
    BOOL CreateControl(REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       UINT nID, const BYTE* pInitData = nullptr, ULONG cbInitData = 0);
    // Disconnects events, closes the control and lets go of it.
    void Close();

    HWND GetHwnd() const { return m_hWnd; }
    UINT GetID() const { return m_nID; }
    IUnknown* GetControlUnknown() const { return m_pObject; }
    // The dispatch interface the control fires its events into, or NULL.
    IDispatch* GetEventSink() const;

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
    CWnd* m_pWndContainer;
    UINT m_nID = 0;
    RECT m_rect = {};
    HWND m_hWnd = nullptr;
    IOleObject* m_pObject = nullptr;
    IOleInPlaceObject* m_pInPlaceObject = nullptr;
    IOleInPlaceActiveObject* m_pActiveObject = nullptr;
    COleEventSink* m_pEventSink = nullptr;
    bool m_bInPlaceActive = false;
};
