// COleControlContainer: the hosted ActiveX controls of one window, each with
// its site, and the IOleContainer the controls reach through their sites.
// The window holds one reference: at WM_DESTROY it closes the controls,
// forgets the container and releases it; a control may keep it a while longer.
#pragma once

#include "framework/WinTypes.h"

#include <ole2.h>
#include <vector>

class CWnd;
class COleControlSite;

class COleControlContainer : public IOleContainer {
public:
    explicit COleControlContainer(CWnd* pWnd);
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
    // Closes every control and lets go of the window, which is going.
    void Detach();

    CWnd* GetWnd() const { return m_pWnd; }
    // The site whose control has the focus, or NULL.
    COleControlSite* GetFocusSite() const { return m_pSiteFocus; }
    void OnFocusSite(COleControlSite* pSite) { m_pSiteFocus = pSite; }
    // Container objects alive now, for tests that count final releases.
    static LONG GetLiveCount();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IParseDisplayName
    STDMETHODIMP ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** ppmkOut) override;
    // IOleContainer: the controls' objects; a lock keeps the container alive.
    STDMETHODIMP EnumObjects(DWORD grfFlags, IEnumUnknown** ppenum) override;
    STDMETHODIMP LockContainer(BOOL fLock) override;

private:
    virtual ~COleControlContainer();

    LONG m_cRef = 1;
    CWnd* m_pWnd;
    std::vector<COleControlSite*> m_sites;
    COleControlSite* m_pSiteFocus = nullptr;
};
