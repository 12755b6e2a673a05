// The calls a stand-in browser makes on its container's site, each logged
// with the site's answer. A failing site is tolerated, as the control does
// (W test_ClientSite and its slim-container run).
#pragma once
#include <windows.h>

#include <ole2.h>

#include <string>

class CSiteCalls {
public:
    CSiteCalls(const char* pszOwner, LONG nOwnerId) : m_pszOwner(pszOwner), m_nOwnerId(nOwnerId) {}

    // QueryInterface on the site; the interface (or NULL) in *ppv.
    HRESULT Ask(IUnknown* pSite, REFIID riid, const char* pszName, void** ppv) const;
    // Asks and lets go at once: the control probes these.
    void Probe(IUnknown* pSite, REFIID riid, const char* pszName) const;
    // An ambient property read through the site's IDispatch.
    void Ambient(IUnknown* pSite, DISPID dispid, const char* pszName) const;
    // IOleClientSite::GetContainer, the container let go at once.
    void GetContainer(IOleClientSite* pSite) const;
    // Logs a call on the site and its answer; returns hr.
    HRESULT Log(const char* pszCall, HRESULT hr) const;
    // Logs what the site's answer said.
    void Note(const std::string& strText) const;

private:
    const char* m_pszOwner;
    const LONG m_nOwnerId;
};
