#include "testbed/standin/StandinObject.h"

#include "testbed/standin/CallLog.h"

#include <docobj.h>
#include <exdisp.h>
#include <mshtml.h>
#include <ocidl.h>

namespace {

// Readable names of the interfaces a container or the program may ask for.
const char* InterfaceName(REFIID riid, char* pszBuffer, int nSize) {
    static const struct {
        const IID* piid;
        const char* pszName;
    } kNames[] = {
        {&IID_IUnknown, "IUnknown"},
        {&IID_IDispatch, "IDispatch"},
        {&IID_IOleObject, "IOleObject"},
        {&IID_IOleWindow, "IOleWindow"},
        {&IID_IOleInPlaceObject, "IOleInPlaceObject"},
        {&IID_IOleInPlaceActiveObject, "IOleInPlaceActiveObject"},
        {&IID_IOleControl, "IOleControl"},
        {&IID_IOleCommandTarget, "IOleCommandTarget"},
        {&IID_IViewObject, "IViewObject"},
        {&IID_IViewObject2, "IViewObject2"},
        {&IID_IPersistStreamInit, "IPersistStreamInit"},
        {&IID_IPersistStorage, "IPersistStorage"},
        {&IID_IPersistPropertyBag, "IPersistPropertyBag"},
        {&IID_IConnectionPointContainer, "IConnectionPointContainer"},
        {&IID_IConnectionPoint, "IConnectionPoint"},
        {&IID_IProvideClassInfo, "IProvideClassInfo"},
        {&IID_IProvideClassInfo2, "IProvideClassInfo2"},
        {&IID_IQuickActivate, "IQuickActivate"},
        {&IID_IWebBrowser, "IWebBrowser"},
        {&IID_IWebBrowserApp, "IWebBrowserApp"},
        {&IID_IWebBrowser2, "IWebBrowser2"},
        {&IID_IHTMLDocument, "IHTMLDocument"},
        {&IID_IHTMLDocument2, "IHTMLDocument2"},
        {&IID_IHTMLDocument3, "IHTMLDocument3"},
        {&IID_IHTMLElement, "IHTMLElement"},
        {&IID_IHTMLBodyElement, "IHTMLBodyElement"},
        {&IID_IClassFactory, "IClassFactory"},
        {&IID_IMarshal, "IMarshal"},
    };
    for (const auto& entry : kNames) {
        if (IsEqualIID(riid, *entry.piid))
            return entry.pszName;
    }
    wchar_t szGuid[40];
    StringFromGUID2(riid, szGuid, 40);
    WideCharToMultiByte(CP_ACP, 0, szGuid, -1, pszBuffer, nSize, nullptr, nullptr);
    return pszBuffer;
}

} // namespace

CStandinObject::CStandinObject(const char* pszKind)
    : m_pszKind(pszKind), m_nId(CCallLog::Created(pszKind)) {}

CStandinObject::~CStandinObject() {
    CCallLog::Destroyed(m_pszKind, m_nId);
}

ULONG CStandinObject::AddRefObject() {
    return static_cast<ULONG>(InterlockedIncrement(&m_nRef));
}

ULONG CStandinObject::ReleaseObject() {
    const LONG n = InterlockedDecrement(&m_nRef);
    if (n == 0)
        delete this;
    return static_cast<ULONG>(n);
}

HRESULT CStandinObject::Answer(REFIID riid, IUnknown* pUnk, void** ppv) {
    char szBuffer[40];
    CCallLog::Write("%s#%ld QueryInterface %s: %s", m_pszKind, m_nId,
                    InterfaceName(riid, szBuffer, sizeof szBuffer), pUnk ? "yes" : "no");
    if (!ppv)
        return E_POINTER;
    *ppv = pUnk;
    if (!pUnk)
        return E_NOINTERFACE;
    pUnk->AddRef();
    return S_OK;
}
