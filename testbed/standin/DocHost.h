// What a browser asks of its host beyond the client site: the container's
// IDocHostUIHandler, IDocHostShowUI and IOleCommandTarget, asked for at
// SetClientSite, each call logged with the host's answer. A host without
// them, or one that declines a call, leaves the browser to its defaults.
#pragma once
#include "testbed/standin/SiteCalls.h"

#include <docobj.h>
#include <mshtmhst.h>

class CDocHost {
public:
    CDocHost(const char* pszOwner, LONG nOwnerId) : m_site(pszOwner, nOwnerId) {}
    ~CDocHost() { Detach(); }
    CDocHost(const CDocHost&) = delete;
    CDocHost& operator=(const CDocHost&) = delete;

    // Asks pSite for the three interfaces (a NULL site lets go of them).
    void Attach(IOleClientSite* pSite);
    void Detach();

    // IDocHostUIHandler::GetHostInfo at activation, its flags logged by name.
    void AskHostInfo() const;
    // True when the host showed its own menu or none (S_OK); the browser
    // shows its own otherwise.
    bool ShowContextMenu(const POINT& pt, IUnknown* pCommandTarget, IDispatch* pElement) const;
    // True when the host took the key (S_OK).
    bool TranslateAccelerator(const MSG& msg) const;
    // OLECMDID_SHOWSCRIPTERROR under CGID_DocHostCommandHandler. True when the
    // host handled the error; bContinue then says whether scripts go on.
    bool ShowScriptError(IUnknown* pDocument, bool& bContinue) const;

private:
    CSiteCalls m_site;
    IDocHostUIHandler* m_pUIHandler = nullptr;
    IOleCommandTarget* m_pCommandTarget = nullptr;
    IUnknown* m_pShowUI = nullptr;
};
