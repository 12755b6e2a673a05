#include "testbed/standin/BrowserEvents.h"

#include "testbed/standin/CallLog.h"

#include <exdisp.h>
#include <exdispid.h>
#include <olectl.h>

#include <algorithm>

namespace {

// A variant of a pointer type: dispatch, string, or a reference (VT_BYREF).
VARIANT Pointer(VARTYPE vt, void* p) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    v.byref = p;
    return v;
}

VARIANT Dispatch(IDispatch* pDisp) {
    return Pointer(VT_DISPATCH, pDisp);
}

VARIANT RefTo(VARIANT* pTarget) {
    return Pointer(VT_VARIANT | VT_BYREF, pTarget);
}

VARIANT Bstr(BSTR bstr) {
    return Pointer(VT_BSTR, bstr);
}

VARIANT BoolRef(VARIANT_BOOL* pb) {
    return Pointer(VT_BOOL | VT_BYREF, pb);
}

VARIANT Bool(bool b) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT Long(LONG n) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

BSTR Alloc(const std::wstring& str) {
    return SysAllocStringLen(str.data(), static_cast<UINT>(str.size()));
}

} // namespace

CBrowserEvents::CBrowserEvents(const char* pszOwner, LONG nOwnerId)
    : m_pszOwner(pszOwner), m_nOwnerId(nOwnerId) {}

CBrowserEvents::~CBrowserEvents() {
    Clear();
}

HRESULT CBrowserEvents::Add(IUnknown* pUnkSink, DWORD* pdwCookie) {
    if (!pUnkSink || !pdwCookie)
        return E_POINTER;
    IDispatch* pSink = nullptr;
    if (FAILED(
            pUnkSink->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&pSink))) &&
        FAILED(pUnkSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pSink))))
        return CONNECT_E_CANNOTCONNECT;
    *pdwCookie = m_nNextCookie++;
    m_vecSinks.emplace_back(*pdwCookie, pSink);
    CCallLog::Write("%s#%ld Advise: cookie %lu", m_pszOwner, m_nOwnerId, *pdwCookie);
    return S_OK;
}

HRESULT CBrowserEvents::Remove(DWORD dwCookie) {
    for (auto it = m_vecSinks.begin(); it != m_vecSinks.end(); ++it) {
        if (it->first == dwCookie) {
            IDispatch* pSink = it->second;
            m_vecSinks.erase(it);
            pSink->Release();
            CCallLog::Write("%s#%ld Unadvise: cookie %lu", m_pszOwner, m_nOwnerId, dwCookie);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

void CBrowserEvents::Clear() {
    std::vector<std::pair<DWORD, IDispatch*>> vecSinks;
    vecSinks.swap(m_vecSinks);
    for (auto& sink : vecSinks)
        sink.second->Release();
}

void CBrowserEvents::Fire(DISPID dispid, const char* pszName, std::vector<VARIANT> vecArgs,
                          const std::string& strDetail) {
    std::reverse(vecArgs.begin(), vecArgs.end());
    DISPPARAMS params = {vecArgs.empty() ? nullptr : vecArgs.data(), nullptr,
                         static_cast<UINT>(vecArgs.size()), 0};
    std::vector<std::pair<DWORD, IDispatch*>> vecSinks = m_vecSinks;
    for (auto& sink : vecSinks)
        sink.second->AddRef();
    CCallLog::Write("%s#%ld %s%s%s to %u sink(s)", m_pszOwner, m_nOwnerId, pszName,
                    strDetail.empty() ? "" : " ", strDetail.c_str(),
                    static_cast<unsigned>(vecSinks.size()));
    for (auto& sink : vecSinks) {
        sink.second->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                            nullptr, nullptr, nullptr);
        sink.second->Release();
    }
}

// BeforeNavigate2(pDisp, &URL, &Flags, &TargetFrameName, &PostData, &Headers, &Cancel):
// every argument after pDisp by reference; PostData a reference to a reference.
bool CBrowserEvents::BeforeNavigate2(IDispatch* pDisp, const std::wstring& strUrl) {
    VARIANT url = Bstr(Alloc(strUrl)), flags = Long(0), frame = Bstr(nullptr), postInner, post,
            headers = Bstr(nullptr);
    VariantInit(&postInner);
    post = RefTo(&postInner);
    VARIANT_BOOL bCancel = VARIANT_FALSE;
    Fire(DISPID_BEFORENAVIGATE2, "BeforeNavigate2",
         {Dispatch(pDisp), RefTo(&url), RefTo(&flags), RefTo(&frame), RefTo(&post), RefTo(&headers),
          BoolRef(&bCancel)},
         CCallLog::Utf8(strUrl.c_str()));
    VariantClear(&url);
    return bCancel == VARIANT_FALSE;
}

void CBrowserEvents::NavigateComplete2(IDispatch* pDisp, const std::wstring& strUrl) {
    VARIANT url = Bstr(Alloc(strUrl));
    Fire(DISPID_NAVIGATECOMPLETE2, "NavigateComplete2", {Dispatch(pDisp), RefTo(&url)},
         CCallLog::Utf8(strUrl.c_str()));
    VariantClear(&url);
}

void CBrowserEvents::DocumentComplete(IDispatch* pDisp, const std::wstring& strUrl) {
    VARIANT url = Bstr(Alloc(strUrl));
    Fire(DISPID_DOCUMENTCOMPLETE, "DocumentComplete", {Dispatch(pDisp), RefTo(&url)},
         CCallLog::Utf8(strUrl.c_str()));
    VariantClear(&url);
}

// NavigateError(pDisp, &URL, &TargetFrameName, &StatusCode, &Cancel).
bool CBrowserEvents::NavigateError(IDispatch* pDisp, const std::wstring& strUrl, LONG nStatus) {
    VARIANT url = Bstr(Alloc(strUrl)), frame = Bstr(nullptr), status = Long(nStatus);
    VARIANT_BOOL bCancel = VARIANT_FALSE;
    Fire(DISPID_NAVIGATEERROR, "NavigateError",
         {Dispatch(pDisp), RefTo(&url), RefTo(&frame), RefTo(&status), BoolRef(&bCancel)},
         CCallLog::Utf8(strUrl.c_str()) + " status " + std::to_string(nStatus));
    VariantClear(&url);
    return bCancel == VARIANT_FALSE;
}

void CBrowserEvents::DownloadBegin() {
    Fire(DISPID_DOWNLOADBEGIN, "DownloadBegin", {}, "");
}

void CBrowserEvents::DownloadComplete() {
    Fire(DISPID_DOWNLOADCOMPLETE, "DownloadComplete", {}, "");
}

void CBrowserEvents::StatusTextChange(const std::wstring& strText) {
    VARIANT text = Bstr(Alloc(strText));
    Fire(DISPID_STATUSTEXTCHANGE, "StatusTextChange", {text}, "");
    VariantClear(&text);
}

void CBrowserEvents::TitleChange(const std::wstring& strTitle) {
    VARIANT title = Bstr(Alloc(strTitle));
    Fire(DISPID_TITLECHANGE, "TitleChange", {title}, CCallLog::Utf8(strTitle.c_str()));
    VariantClear(&title);
}

void CBrowserEvents::CommandStateChange(LONG nCommand, bool bEnable) {
    Fire(DISPID_COMMANDSTATECHANGE, "CommandStateChange", {Long(nCommand), Bool(bEnable)},
         std::to_string(nCommand));
}

void CBrowserEvents::SetSecureLockIcon(LONG nIcon) {
    Fire(DISPID_SETSECURELOCKICON, "SetSecureLockIcon", {Long(nIcon)}, std::to_string(nIcon));
}

bool CBrowserEvents::FileDownload(bool bActiveDocument) {
    VARIANT_BOOL bCancel = VARIANT_FALSE;
    Fire(DISPID_FILEDOWNLOAD, "FileDownload", {Bool(bActiveDocument), BoolRef(&bCancel)}, "");
    return bCancel == VARIANT_FALSE;
}

// ppDisp a reference to a dispatch pointer, dwFlags an unsigned integer, the
// addresses strings by value (the event's description in exdisp.idl).
bool CBrowserEvents::NewWindow3(IDispatch** ppDisp, DWORD dwFlags, const std::wstring& strContext,
                                const std::wstring& strUrl) {
    *ppDisp = nullptr;
    VARIANT_BOOL bCancel = VARIANT_FALSE;
    VARIANT flags;
    VariantInit(&flags);
    flags.vt = VT_UI4;
    flags.ulVal = dwFlags;
    VARIANT context = Bstr(Alloc(strContext)), url = Bstr(Alloc(strUrl));
    Fire(DISPID_NEWWINDOW3, "NewWindow3",
         {Pointer(VT_DISPATCH | VT_BYREF, ppDisp), BoolRef(&bCancel), flags, context, url},
         CCallLog::Utf8(strUrl.c_str()) + " flags " + std::to_string(dwFlags));
    VariantClear(&context);
    VariantClear(&url);
    CCallLog::Write("%s#%ld NewWindow3 answered: %s%s", m_pszOwner, m_nOwnerId,
                    bCancel != VARIANT_FALSE ? "cancelled" : "not cancelled",
                    *ppDisp ? ", a browser handed back" : "");
    return bCancel == VARIANT_FALSE;
}

void CBrowserEvents::WindowSet(DISPID dispid, const char* pszName, LONG n) {
    Fire(dispid, pszName, {Long(n)}, std::to_string(n));
}

bool CBrowserEvents::WindowClosing(bool bChildWindow) {
    VARIANT_BOOL bCancel = VARIANT_FALSE;
    Fire(DISPID_WINDOWCLOSING, "WindowClosing", {Bool(bChildWindow), BoolRef(&bCancel)}, "");
    return bCancel == VARIANT_FALSE;
}

void CBrowserEvents::ProgressChange(LONG nProgress, LONG nMax) {
    Fire(DISPID_PROGRESSCHANGE, "ProgressChange", {Long(nProgress), Long(nMax)}, "");
}
