// A DWebBrowserEvents2 sink that records every event's id and argument types,
// and every DocumentComplete's browser object and address.
#pragma once
#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

class CTestSink final : public IDispatch {
public:
    struct CEvent {
        IDispatch* pDisp; // held
        std::wstring strUrl;
        VARTYPE vtUrl;
        UINT nArgs;
    };

    // Any event: its id and argument types in the event's own order, each
    // "outer" or "outer>inner" for a reference to a variant (as numbers).
    struct CFired {
        DISPID dispid;
        std::string strTypes;
    };

    CTestSink() = default;
    ~CTestSink();
    // Lets go of the browser objects the events carried.
    void Clear();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pParams,
                                     VARIANT*, EXCEPINFO*, UINT*) override;

    std::vector<CEvent> m_vecEvents;
    std::vector<CFired> m_vecFired;
    // Set on BeforeNavigate2's Cancel when true, or when m_cancelIf says so of the address.
    bool m_bCancelNavigation = false;
    std::function<bool(const std::wstring&)> m_cancelIf;
    // NewWindow3: the browser handed back in ppDisp (a reference it gives up), or NULL.
    std::function<IDispatch*()> m_onNewWindow;
    // Called at each DocumentComplete, once it is recorded: what a handler sees then.
    std::function<void(const CEvent&)> m_onDocumentComplete;

private:
    LONG m_nRef = 1;
};
