#include "testbed/standin/DocHost.h"

#include <cstdio>
#include <string>

namespace {

// Not in the import libraries.
const IID kIidDocHostShowUI = {
    0xC4D244B0, 0xD43E, 0x11CF, {0x89, 0x3B, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x1A}};
const GUID kCgidDocHostCommandHandler = {
    0xF38BC242, 0xB950, 0x11D1, {0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};
const GUID kCgidMshtml = {
    0xDE4BA900, 0x59CA, 0x11CF, {0x95, 0x92, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const DWORD kContextMenuDefault = 0; // CONTEXT_MENU_DEFAULT

struct CFlagName {
    DWORD dwFlag;
    const char* pszName;
};

// DOCHOSTUIFLAG values (mshtmhst.h), the ones a host may set, by name.
const CFlagName kFlags[] = {
    {DOCHOSTUIFLAG_DIALOG, "DIALOG"},
    {DOCHOSTUIFLAG_DISABLE_HELP_MENU, "DISABLE_HELP_MENU"},
    {DOCHOSTUIFLAG_NO3DBORDER, "NO3DBORDER"},
    {DOCHOSTUIFLAG_SCROLL_NO, "SCROLL_NO"},
    {DOCHOSTUIFLAG_DISABLE_SCRIPT_INACTIVE, "DISABLE_SCRIPT_INACTIVE"},
    {DOCHOSTUIFLAG_OPENNEWWIN, "OPENNEWWIN"},
    {DOCHOSTUIFLAG_DISABLE_OFFSCREEN, "DISABLE_OFFSCREEN"},
    {DOCHOSTUIFLAG_FLAT_SCROLLBAR, "FLAT_SCROLLBAR"},
    {DOCHOSTUIFLAG_DIV_BLOCKDEFAULT, "DIV_BLOCKDEFAULT"},
    {DOCHOSTUIFLAG_ACTIVATE_CLIENTHIT_ONLY, "ACTIVATE_CLIENTHIT_ONLY"},
    {DOCHOSTUIFLAG_OVERRIDEBEHAVIORFACTORY, "OVERRIDEBEHAVIORFACTORY"},
    {DOCHOSTUIFLAG_CODEPAGELINKEDFONTS, "CODEPAGELINKEDFONTS"},
    {DOCHOSTUIFLAG_URL_ENCODING_DISABLE_UTF8, "URL_ENCODING_DISABLE_UTF8"},
    {DOCHOSTUIFLAG_URL_ENCODING_ENABLE_UTF8, "URL_ENCODING_ENABLE_UTF8"},
    {DOCHOSTUIFLAG_ENABLE_FORMS_AUTOCOMPLETE, "ENABLE_FORMS_AUTOCOMPLETE"},
    {DOCHOSTUIFLAG_ENABLE_INPLACE_NAVIGATION, "ENABLE_INPLACE_NAVIGATION"},
    {DOCHOSTUIFLAG_IME_ENABLE_RECONVERSION, "IME_ENABLE_RECONVERSION"},
    {DOCHOSTUIFLAG_THEME, "THEME"},
    {DOCHOSTUIFLAG_NOTHEME, "NOTHEME"},
    {DOCHOSTUIFLAG_NOPICS, "NOPICS"},
    {DOCHOSTUIFLAG_NO3DOUTERBORDER, "NO3DOUTERBORDER"},
    {DOCHOSTUIFLAG_DISABLE_EDIT_NS_FIXUP, "DISABLE_EDIT_NS_FIXUP"},
    {DOCHOSTUIFLAG_LOCAL_MACHINE_ACCESS_CHECK, "LOCAL_MACHINE_ACCESS_CHECK"},
    {DOCHOSTUIFLAG_DISABLE_UNTRUSTEDPROTOCOL, "DISABLE_UNTRUSTEDPROTOCOL"},
    {DOCHOSTUIFLAG_HOST_NAVIGATES, "HOST_NAVIGATES"},
    {DOCHOSTUIFLAG_ENABLE_REDIRECT_NOTIFICATION, "ENABLE_REDIRECT_NOTIFICATION"},
    {DOCHOSTUIFLAG_USE_WINDOWLESS_SELECTCONTROL, "USE_WINDOWLESS_SELECTCONTROL"},
    {DOCHOSTUIFLAG_USE_WINDOWED_SELECTCONTROL, "USE_WINDOWED_SELECTCONTROL"},
    {DOCHOSTUIFLAG_ENABLE_ACTIVEX_INACTIVATE_MODE, "ENABLE_ACTIVEX_INACTIVATE_MODE"},
    {DOCHOSTUIFLAG_DPI_AWARE, "DPI_AWARE"},
};

// "A|B|C", with any bit not named in hex.
std::string FlagNames(DWORD dwFlags) {
    std::string str;
    for (const CFlagName& flag : kFlags) {
        if (dwFlags & flag.dwFlag) {
            str += (str.empty() ? "" : "|") + std::string(flag.pszName);
            dwFlags &= ~flag.dwFlag;
        }
    }
    if (dwFlags) {
        char szRest[16];
        std::snprintf(szRest, sizeof szRest, "0x%lX", static_cast<unsigned long>(dwFlags));
        str += (str.empty() ? "" : "|") + std::string(szRest);
    }
    return str.empty() ? "none" : str;
}

template <class T> void ReleaseAndClear(T*& p) {
    if (p)
        p->Release();
    p = nullptr;
}

} // namespace

// W test_ClientSite: the control asks for these at SetClientSite and keeps
// what it is given.
void CDocHost::Attach(IOleClientSite* pSite) {
    Detach();
    if (!pSite)
        return;
    m_site.Ask(pSite, IID_IDocHostUIHandler, "IDocHostUIHandler",
               reinterpret_cast<void**>(&m_pUIHandler));
    m_site.Ask(pSite, kIidDocHostShowUI, "IDocHostShowUI", reinterpret_cast<void**>(&m_pShowUI));
    m_site.Ask(pSite, IID_IOleCommandTarget, "IOleCommandTarget",
               reinterpret_cast<void**>(&m_pCommandTarget));
}

void CDocHost::Detach() {
    ReleaseAndClear(m_pUIHandler);
    ReleaseAndClear(m_pShowUI);
    ReleaseAndClear(m_pCommandTarget);
}

void CDocHost::AskHostInfo() const {
    if (!m_pUIHandler)
        return;
    DOCHOSTUIINFO info = {};
    info.cbSize = sizeof info;
    if (FAILED(m_site.Log("GetHostInfo", m_pUIHandler->GetHostInfo(&info))))
        return;
    m_site.Note("GetHostInfo flags " + FlagNames(info.dwFlags) + ", double-click " +
                std::to_string(info.dwDoubleClick));
    CoTaskMemFree(info.pchHostCss);
    CoTaskMemFree(info.pchHostNS);
}

// The documentation: S_OK, the host showed its menu (or chose none); S_FALSE
// or an error, the control shows its own.
bool CDocHost::ShowContextMenu(const POINT& pt, IUnknown* pCommandTarget,
                               IDispatch* pElement) const {
    if (!m_pUIHandler)
        return false;
    POINT ptScreen = pt;
    return m_site.Log("ShowContextMenu",
                      m_pUIHandler->ShowContextMenu(kContextMenuDefault, &ptScreen, pCommandTarget,
                                                    pElement)) == S_OK;
}

bool CDocHost::TranslateAccelerator(const MSG& msg) const {
    if (!m_pUIHandler)
        return false;
    MSG copy = msg;
    const HRESULT hr = m_pUIHandler->TranslateAccelerator(&copy, &kCgidMshtml, 0);
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
        m_site.Log("TranslateAccelerator", hr);
    return hr == S_OK;
}

// KB261003: the host answers S_OK to handle the error itself, *pvaOut
// VARIANT_TRUE to let the page's scripts go on; anything else leaves the
// error to the control's dialog.
bool CDocHost::ShowScriptError(IUnknown* pDocument, bool& bContinue) const {
    bContinue = true;
    if (!m_pCommandTarget)
        return false;
    VARIANT in, out;
    VariantInit(&in);
    VariantInit(&out);
    in.vt = VT_UNKNOWN;
    in.punkVal = pDocument;
    const HRESULT hr =
        m_site.Log("Exec OLECMDID_SHOWSCRIPTERROR",
                   m_pCommandTarget->Exec(&kCgidDocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR,
                                          OLECMDEXECOPT_DODEFAULT, &in, &out));
    if (hr != S_OK)
        return false;
    bContinue = out.vt == VT_BOOL && out.boolVal != VARIANT_FALSE;
    m_site.Note(bContinue ? "script error handled, scripts go on"
                          : "script error handled, scripts stop");
    VariantClear(&out);
    return true;
}
