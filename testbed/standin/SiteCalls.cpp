#include "testbed/standin/SiteCalls.h"

#include "testbed/standin/CallLog.h"

#include <cstdio>

namespace {

// "S_OK", "E_NOINTERFACE" and the like, or the number.
const char* Answer(HRESULT hr, char* pszBuffer, int nSize) {
    switch (hr) {
    case S_OK:
        return "S_OK";
    case S_FALSE:
        return "S_FALSE";
    case E_NOINTERFACE:
        return "E_NOINTERFACE";
    case E_NOTIMPL:
        return "E_NOTIMPL";
    case E_FAIL:
        return "E_FAIL";
    case DISP_E_MEMBERNOTFOUND:
        return "DISP_E_MEMBERNOTFOUND";
    default:
        std::snprintf(pszBuffer, static_cast<size_t>(nSize), "0x%08lX",
                      static_cast<unsigned long>(hr));
        return pszBuffer;
    }
}

} // namespace

HRESULT CSiteCalls::Log(const char* pszCall, HRESULT hr) const {
    char szBuffer[16];
    CCallLog::Write("%s#%ld site %s: %s", m_pszOwner, m_nOwnerId, pszCall,
                    Answer(hr, szBuffer, sizeof szBuffer));
    return hr;
}

void CSiteCalls::Note(const std::string& strText) const {
    CCallLog::Write("%s#%ld site %s", m_pszOwner, m_nOwnerId, strText.c_str());
}

HRESULT CSiteCalls::Ask(IUnknown* pSite, REFIID riid, const char* pszName, void** ppv) const {
    *ppv = nullptr;
    if (!pSite)
        return E_NOINTERFACE;
    char szCall[64];
    std::snprintf(szCall, sizeof szCall, "QueryInterface %s", pszName);
    const HRESULT hr = Log(szCall, pSite->QueryInterface(riid, ppv));
    if (FAILED(hr))
        *ppv = nullptr;
    return hr;
}

void CSiteCalls::Probe(IUnknown* pSite, REFIID riid, const char* pszName) const {
    IUnknown* pUnk = nullptr;
    if (SUCCEEDED(Ask(pSite, riid, pszName, reinterpret_cast<void**>(&pUnk))) && pUnk)
        pUnk->Release();
}

// Logged as "ambient NAME: answer"; a site without IDispatch answers E_NOINTERFACE.
void CSiteCalls::Ambient(IUnknown* pSite, DISPID dispid, const char* pszName) const {
    if (!pSite)
        return;
    char szCall[64];
    std::snprintf(szCall, sizeof szCall, "ambient %s", pszName);
    IDispatch* pDisp = nullptr;
    const HRESULT hrAsk = pSite->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDisp));
    if (FAILED(hrAsk) || !pDisp) {
        Log(szCall, FAILED(hrAsk) ? hrAsk : E_NOINTERFACE);
        return;
    }
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    const HRESULT hr =
        Log(szCall, pDisp->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                  &none, &result, nullptr, nullptr));
    if (SUCCEEDED(hr))
        CCallLog::Write("%s#%ld site ambient %s = vt %u, %ld", m_pszOwner, m_nOwnerId, pszName,
                        result.vt, result.vt == VT_BOOL ? static_cast<long>(result.boolVal) : 0L);
    VariantClear(&result);
    pDisp->Release();
}

void CSiteCalls::GetContainer(IOleClientSite* pSite) const {
    if (!pSite)
        return;
    IOleContainer* pContainer = nullptr;
    const HRESULT hr = Log("GetContainer", pSite->GetContainer(&pContainer));
    if (SUCCEEDED(hr) && pContainer)
        pContainer->Release();
}
