// The DWebBrowserEvents2 sinks of a stand-in browser and the events it fires
// to them, with the argument types the control uses (W test_Navigate2 and its
// expectation lists): arguments last first, by reference where the control
// passes them so.
#pragma once
#include <windows.h>

#include <oaidl.h>

#include <string>
#include <utility>
#include <vector>

class CBrowserEvents {
public:
    CBrowserEvents(const char* pszOwner, LONG nOwnerId);
    ~CBrowserEvents();
    CBrowserEvents(const CBrowserEvents&) = delete;
    CBrowserEvents& operator=(const CBrowserEvents&) = delete;

    HRESULT Add(IUnknown* pUnkSink, DWORD* pdwCookie);
    HRESULT Remove(DWORD dwCookie);
    void Clear();

    // Each returns false when a sink cancelled (BeforeNavigate2, NavigateError).
    bool BeforeNavigate2(IDispatch* pDisp, const std::wstring& strUrl);
    void NavigateComplete2(IDispatch* pDisp, const std::wstring& strUrl);
    void DocumentComplete(IDispatch* pDisp, const std::wstring& strUrl);
    bool NavigateError(IDispatch* pDisp, const std::wstring& strUrl, LONG nStatus);
    void DownloadBegin();
    void DownloadComplete();
    void StatusTextChange(const std::wstring& strText);
    void TitleChange(const std::wstring& strTitle);
    void CommandStateChange(LONG nCommand, bool bEnable);
    void ProgressChange(LONG nProgress, LONG nMax);
    void SetSecureLockIcon(LONG nIcon);
    // FileDownload(ActiveDocument, &Cancel): false when a sink cancelled.
    bool FileDownload(bool bActiveDocument);
    // NewWindow3(&ppDisp, &Cancel, dwFlags, bstrUrlContext, bstrUrl): false when
    // a sink cancelled; *ppDisp the browser a sink handed back (held), or NULL.
    bool NewWindow3(IDispatch** ppDisp, DWORD dwFlags, const std::wstring& strContext,
                    const std::wstring& strUrl);
    // WindowClosing(IsChildWindow, &Cancel): false when a sink cancelled.
    bool WindowClosing(bool bChildWindow);
    // WindowSetLeft, WindowSetTop, WindowSetWidth or WindowSetHeight (dispid) with n.
    void WindowSet(DISPID dispid, const char* pszName, LONG n);

private:
    // args in the event's own order; reversed for DISPPARAMS.
    void Fire(DISPID dispid, const char* pszName, std::vector<VARIANT> vecArgs,
              const std::string& strDetail);

    const char* m_pszOwner;
    const LONG m_nOwnerId;
    std::vector<std::pair<DWORD, IDispatch*>> m_vecSinks;
    DWORD m_nNextCookie = 1;
};
