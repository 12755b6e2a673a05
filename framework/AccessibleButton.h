// CAccessibleButton: what an assistive tool reads of a window that acts as a
// push button (the IAccessible of its client area): the push-button role, a
// name, a description, and a state made of the window's focus and visibility
// and of what its host adds. Its default action posts BM_CLICK to the window.
// The window hands it out on WM_GETOBJECT and disconnects it when it goes;
// calls after that fail with RPC_E_DISCONNECTED.
#pragma once

#include "framework/WinTypes.h"

#include <oleacc.h>

#include <string>

class IAccessibleButtonHost {
public:
    virtual ~IAccessibleButtonHost() = default;
    // STATE_SYSTEM_PRESSED and STATE_SYSTEM_UNAVAILABLE as the host knows them.
    virtual LONG GetAccState() = 0;
};

class CAccessibleButton : public IAccessible {
public:
    CAccessibleButton(HWND hWnd, IAccessibleButtonHost* pHost, const std::wstring& strName,
                      const std::wstring& strDescription);
    void Disconnect();
    // The state an assistive tool reads now.
    LONG GetState() const;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IDispatch: no type information; the interface is reached by its vtable.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override;
    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** ppdispParent) override;
    STDMETHODIMP get_accChildCount(long* pcountChildren) override;
    STDMETHODIMP get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override;
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) override;
    STDMETHODIMP get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    STDMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) override;
    STDMETHODIMP get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
    STDMETHODIMP get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* pvarChild) override;
    STDMETHODIMP get_accSelection(VARIANT* pvarChildren) override;
    STDMETHODIMP get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    STDMETHODIMP accSelect(long flagsSelect, VARIANT varChild) override;
    STDMETHODIMP accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                             VARIANT varChild) override;
    STDMETHODIMP accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
    STDMETHODIMP accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    STDMETHODIMP accDoDefaultAction(VARIANT varChild) override;
    STDMETHODIMP put_accName(VARIANT varChild, BSTR szName) override;
    STDMETHODIMP put_accValue(VARIANT varChild, BSTR szValue) override;

private:
    virtual ~CAccessibleButton() = default;
    // S_OK for the object itself while connected, else the error to return.
    HRESULT CheckSelf(const VARIANT& varChild) const;
    static HRESULT CopyText(const std::wstring& strText, BSTR* pbstr);
    // A property of the object itself as VT_I4.
    HRESULT CopyLong(const VARIANT& varChild, LONG value, VARIANT* pvar) const;

    LONG m_cRef = 1;
    HWND m_hWnd;
    IAccessibleButtonHost* m_pHost;
    std::wstring m_strName;
    std::wstring m_strDescription;
};
