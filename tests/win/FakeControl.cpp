#include "tests/win/FakeControl.h"

const CLSID CLSID_QelFakeControl = {
    0x5E1F7C21, 0x8C3B, 0x4E0A, {0x9A, 0x44, 0x6D, 0x2B, 0x0C, 0x8F, 0x1A, 0x07}};

SFakeControlLog& FakeControlLog() {
    static SFakeControlLog log;
    return log;
}

namespace {

void Log(const std::string& call) {
    FakeControlLog().calls.push_back(call);
}

class CFakeControl : public IOleObject,
                     public IPersistStreamInit,
                     public IOleInPlaceObject,
                     public IOleInPlaceActiveObject {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IOleObject)
            *ppv = static_cast<IOleObject*>(this);
        else if (riid == IID_IPersistStreamInit)
            *ppv = static_cast<IPersistStreamInit*>(this);
        else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
            *ppv = static_cast<IOleInPlaceObject*>(this);
        else if (riid == IID_IOleInPlaceActiveObject)
            *ppv = static_cast<IOleInPlaceActiveObject*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
    STDMETHODIMP_(ULONG) Release() override {
        if (--m_cRef == 0) {
            Log("final release");
            delete this;
            return 0;
        }
        return m_cRef;
    }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* pSite) override {
        Log(pSite ? "SetClientSite" : "SetClientSite(NULL)");
        if (pSite == nullptr && FakeControlLog().bKeepSite)
            return S_OK;
        if (pSite) {
            pSite->AddRef();
            if (FakeControlLog().bKeepSite && m_pContainer == nullptr)
                pSite->GetContainer(&m_pContainer);
        }
        if (m_pSite)
            m_pSite->Release();
        m_pSite = pSite;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override {
        const HWND hWndParent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
        Log(hWndParent && ::IsWindow(hWndParent) ? "Close(container alive)" : "Close");
        InPlaceDeactivate();
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG iVerb, LPMSG, IOleClientSite* pSite, LONG, HWND hWndParent,
                        LPCRECT lprcPosRect) override {
        Log("DoVerb " + std::to_string(iVerb));
        if (m_hWnd != nullptr || pSite == nullptr || m_failure == EFakeFailure::NoWindow)
            return S_OK;
        IOleInPlaceSite* pInPlace = nullptr;
        if (FAILED(pSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&pInPlace))))
            return E_FAIL;
        pInPlace->OnInPlaceActivate();
        pInPlace->Release();
        m_hWnd = ::CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, lprcPosRect->left,
                                 lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                                 lprcPosRect->bottom - lprcPosRect->top, hWndParent, nullptr,
                                 nullptr, nullptr);
        return S_OK;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* pdw) override {
        *pdw = OLEMISC_SETCLIENTSITEFIRST;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IPersistStreamInit: every state is refused.
    STDMETHODIMP GetClassID(CLSID* pClsid) override {
        *pClsid = CLSID_QelFakeControl;
        return S_OK;
    }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM pStm) override {
        Log("Load");
        unsigned char buf[512];
        ULONG nRead = 0;
        pStm->Read(buf, sizeof(buf), &nRead);
        FakeControlLog().loaded.assign(buf, buf + nRead);
        return E_FAIL;
    }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override {
        Log("InitNew");
        return m_failure == EFakeFailure::InitNew ? E_FAIL : S_OK;
    }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* phwnd) override {
        *phwnd = m_hWnd;
        return m_hWnd ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override {
        if (m_hWnd == nullptr)
            return S_OK;
        ::DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
        IOleInPlaceSite* pInPlace = nullptr;
        if (m_pSite && SUCCEEDED(m_pSite->QueryInterface(IID_IOleInPlaceSite,
                                                         reinterpret_cast<void**>(&pInPlace)))) {
            pInPlace->OnInPlaceDeactivate();
            pInPlace->Release();
        }
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT, LPCRECT) override { return S_OK; }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG pMsg) override {
        Log("TranslateAccelerator " + std::to_string(pMsg->wParam));
        IOleControlSite* pControlSite = nullptr;
        if (pMsg->wParam != VK_RETURN || m_pSite == nullptr ||
            FAILED(m_pSite->QueryInterface(IID_IOleControlSite,
                                           reinterpret_cast<void**>(&pControlSite))))
            return S_OK;
        const HRESULT hr = pControlSite->TranslateAccelerator(pMsg, 0);
        pControlSite->Release();
        return hr;
    }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    explicit CFakeControl(EFakeFailure failure) : m_failure(failure) {}

private:
    virtual ~CFakeControl() {
        if (m_pSite)
            m_pSite->Release();
        if (m_pContainer)
            m_pContainer->Release();
    }
    ULONG m_cRef = 1;
    EFakeFailure m_failure;
    IOleClientSite* m_pSite = nullptr;
    IOleContainer* m_pContainer = nullptr;
    HWND m_hWnd = nullptr;
};

class CFakeFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory)
            return E_NOINTERFACE;
        *ppv = this;
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (pOuter != nullptr)
            return CLASS_E_NOAGGREGATION;
        SFakeControlLog& log = FakeControlLog();
        const EFakeFailure failure =
            log.nCreated++ >= log.nFailFrom ? log.failure : EFakeFailure::None;
        if (failure == EFakeFailure::Class)
            return CLASS_E_CLASSNOTAVAILABLE;
        CFakeControl* pControl = new CFakeControl(failure);
        HRESULT hr = pControl->QueryInterface(riid, ppv);
        pControl->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

CFakeFactory g_factory;

} // namespace

CFakeControlRegistration::CFakeControlRegistration() {
    FakeControlLog() = SFakeControlLog();
    ::CoRegisterClassObject(CLSID_QelFakeControl, &g_factory, CLSCTX_INPROC_SERVER,
                            REGCLS_MULTIPLEUSE, &m_dwCookie);
}

CFakeControlRegistration::~CFakeControlRegistration() {
    ::CoRevokeClassObject(m_dwCookie);
}
