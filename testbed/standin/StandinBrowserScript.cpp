// CStandinBrowser and the windows a page opens: its script, pop-ups through
// NewWindow3, the opener, the context menu and RegisterAsDropTarget.
#include "testbed/standin/StandinBrowser.h"

#include "testbed/standin/CallLog.h"
#include "testbed/standin/PageScript.h"
#include "testbed/standin/StandinDocument.h"
#include "web/WebBrowserDispid.h"

#include <exdispid.h>
#include <shobjidl.h>

#include <algorithm>
#include <cwchar>

void CStandinBrowser::SetOpener(IDispatch* pOpener) {
    if (pOpener)
        pOpener->AddRef();
    if (m_pOpener)
        m_pOpener->Release();
    m_pOpener = pOpener;
}

// Once the page has completed; a statement that closes or moves the browser
// on ends the run.
void CStandinBrowser::RunScripts(const std::wstring& strHtml, const std::wstring& strPageUrl) {
    const UINT nSerial = m_nSerial;
    for (const CPageScript::CStatement& statement : CPageScript::Parse(strHtml)) {
        if (nSerial != m_nSerial || !m_pClientSite)
            return;
        const std::string strText = CCallLog::Utf8(statement.strText.c_str());
        switch (statement.nKind) {
        case CPageScript::OPEN:
            CCallLog::Write("browser#%ld script window.open %s", m_nId, strText.c_str());
            OpenWindow(CPageFetch::Resolve(strPageUrl, statement.strText), NWMF_FIRST,
                       statement.strFeatures);
            break;
        case CPageScript::CLOSE:
            CCallLog::Write("browser#%ld script window.close", m_nId);
            m_events.WindowClosing(false);
            break;
        case CPageScript::OPENER_LOCATION:
            CCallLog::Write("browser#%ld script window.opener.location %s", m_nId, strText.c_str());
            if (CStandinBrowser* pOpener = FromDispatch(m_pOpener)) {
                pOpener->Navigate(CPageFetch::Resolve(strPageUrl, statement.strText));
                pOpener->Release();
            }
            break;
        case CPageScript::ERROR_THROWN:
            if (!RunScriptError())
                return;
            break;
        case CPageScript::NOT_RUN:
            CCallLog::Write("browser#%ld script not run: %s", m_nId, strText.c_str());
            break;
        }
    }
}

// The host's IOleCommandTarget first; the control's own dialog when it
// declines, the scripts then going on. False when the host stops them.
bool CStandinBrowser::RunScriptError() {
    CCallLog::Write("browser#%ld script error", m_nId);
    bool bContinue = true;
    IUnknown* pDocument = Document() ? static_cast<IHTMLDocument2*>(Document()) : nullptr;
    if (!m_host.ShowScriptError(pDocument, bContinue))
        m_ownWindows.Show(L"Script Error", L"An error has occurred in the script on this page.",
                          OwnWindowPlace());
    return bContinue;
}

// The host hands back a browser of its own, cancels, or leaves the control to
// open a window of its own outside the host.
void CStandinBrowser::OpenWindow(const std::wstring& strUrl, DWORD dwFlags,
                                 const std::wstring& strFeatures) {
    IDispatch* pNew = nullptr;
    if (!m_events.NewWindow3(&pNew, dwFlags, m_strUrl, strUrl)) {
        if (pNew)
            pNew->Release();
        return;
    }
    if (!pNew) {
        m_ownWindows.Show(L"Internet Explorer", strUrl, OwnWindowPlace());
        return;
    }
    if (CStandinBrowser* pPopup = FromDispatch(pNew)) {
        pPopup->SetOpener(static_cast<IWebBrowser2*>(this));
        pPopup->ApplyFeatures(strFeatures);
        pPopup->Release();
    }
    VARIANT args[5];
    for (VARIANT& arg : args)
        VariantInit(&arg);
    args[4].vt = VT_BSTR;
    args[4].bstrVal = SysAllocString(strUrl.c_str());
    DISPPARAMS params = {args, nullptr, 5, 0};
    const HRESULT hr = pNew->Invoke(DISPID_WEBBROWSER_NAVIGATE2, IID_NULL, LOCALE_USER_DEFAULT,
                                    DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    CCallLog::Write("browser#%ld new window navigated: 0x%08lX", m_nId,
                    static_cast<unsigned long>(hr));
    VariantClear(&args[4]);
    pNew->Release();
}

// "width=400,height=300": each of left, top, width and height given fires
// its WindowSet event, in the order written (the WindowSetWidth reference and
// its siblings; the order among them is not on the record).
void CStandinBrowser::ApplyFeatures(const std::wstring& strFeatures) {
    size_t nStart = 0;
    while (nStart < strFeatures.size()) {
        const size_t nEnd = std::min(strFeatures.find(L',', nStart), strFeatures.size());
        const std::wstring strPair = strFeatures.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        const size_t nEquals = strPair.find(L'=');
        if (nEquals == std::wstring::npos)
            continue;
        std::wstring strName = strPair.substr(0, nEquals);
        strName.erase(std::remove(strName.begin(), strName.end(), L' '), strName.end());
        const LONG nValue =
            static_cast<LONG>(std::wcstol(strPair.c_str() + nEquals + 1, nullptr, 10));
        if (_wcsicmp(strName.c_str(), L"left") == 0)
            m_events.WindowSet(DISPID_WINDOWSETLEFT, "WindowSetLeft", nValue);
        else if (_wcsicmp(strName.c_str(), L"top") == 0)
            m_events.WindowSet(DISPID_WINDOWSETTOP, "WindowSetTop", nValue);
        else if (_wcsicmp(strName.c_str(), L"width") == 0)
            m_events.WindowSet(DISPID_WINDOWSETWIDTH, "WindowSetWidth", nValue);
        else if (_wcsicmp(strName.c_str(), L"height") == 0)
            m_events.WindowSet(DISPID_WINDOWSETHEIGHT, "WindowSetHeight", nValue);
    }
}

// The documentation: S_OK from ShowContextMenu, the host's choice; otherwise
// the control's own menu.
void CStandinBrowser::OnContextMenu(const POINT& ptScreen) {
    CCallLog::Write("browser#%ld context menu at %ld,%ld", m_nId, ptScreen.x, ptScreen.y);
    IDispatch* pElement = Document() ? static_cast<IHTMLDocument2*>(Document()) : nullptr;
    if (!m_host.ShowContextMenu(ptScreen, nullptr, pElement))
        m_ownWindows.Show(L"Context Menu", L"Back | Forward | View Source | Print | Properties",
                          ptScreen);
}

POINT CStandinBrowser::OwnWindowPlace() const {
    POINT pt = {m_rcPos.left, m_rcPos.top};
    if (m_window.GetSafeHwnd())
        ClientToScreen(GetParent(m_window.GetSafeHwnd()), &pt);
    return pt;
}

HRESULT CStandinBrowser::get_RegisterAsDropTarget(VARIANT_BOOL* pbRegister) {
    if (!pbRegister)
        return E_POINTER;
    *pbRegister = m_bDropTarget;
    return S_OK;
}

HRESULT CStandinBrowser::put_RegisterAsDropTarget(VARIANT_BOOL bRegister) {
    m_bDropTarget = bRegister ? VARIANT_TRUE : VARIANT_FALSE;
    CCallLog::Write("browser#%ld RegisterAsDropTarget %s", m_nId, bRegister ? "true" : "false");
    return S_OK;
}

// The property through IDispatch, as a class library's wrapper sets it.
HRESULT CStandinBrowser::InvokeDropTarget(WORD wFlags, DISPPARAMS* pDispParams,
                                          VARIANT* pVarResult) {
    if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!pDispParams || pDispParams->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        VARIANT value;
        VariantInit(&value);
        if (FAILED(VariantChangeType(&value, &pDispParams->rgvarg[0], 0, VT_BOOL)))
            return DISP_E_TYPEMISMATCH;
        return put_RegisterAsDropTarget(value.boolVal);
    }
    if (!pVarResult)
        return S_OK;
    VariantInit(pVarResult);
    pVarResult->vt = VT_BOOL;
    return get_RegisterAsDropTarget(&pVarResult->boolVal);
}
