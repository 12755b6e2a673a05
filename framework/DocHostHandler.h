// CDocHostHandler: what the host of a browser control answers when the
// control asks it (through the control site's IDocHostUIHandler,
// IDocHostShowUI and IOleCommandTarget). A window that hosts browser controls
// derives from it as well as from CWnd and overrides what it wants otherwise;
// the control site of any other window answers with these defaults, the
// answers of a host that shows untrusted pages:
// - host flags: no help menu, the Local Machine Zone check and no untrusted
//   protocols, and nothing that changes how a page looks;
// - no context menu; the browser's own command keys swallowed (CHostKeys);
// - no help window; the control's own message boxes;
// - a script error shows nothing and the page's scripts go on.
#pragma once

#include "framework/WinTypes.h"

#include <mshtmhst.h>

class CDocHostHandler {
public:
    CDocHostHandler();
    virtual ~CDocHostHandler() = default;

    // DOCHOSTUIFLAG_... bits that GetHostInfo hands out.
    DWORD m_dwHostFlags;

    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo);
    // S_OK: the host has shown the menu (none); S_FALSE: the control shows its own.
    virtual HRESULT ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                                    IDispatch* pdispReserved);
    // S_OK: the host took the key and the control does nothing with it.
    virtual HRESULT TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID);
    // S_OK: the host has shown the help (none).
    virtual HRESULT ShowHelp(HWND hwnd, LPOLESTR pszHelpFile, UINT uCommand, DWORD dwData,
                             POINT ptMouse, IDispatch* pDispatchObjectHit);
    // S_FALSE: the control shows its own message box.
    virtual HRESULT ShowMessage(HWND hwnd, LPOLESTR lpstrText, LPOLESTR lpstrCaption, DWORD dwType,
                                LPOLESTR lpstrHelpFile, DWORD dwHelpContext, LRESULT* plResult);
    // A script error on the page: S_OK with *pvaOut VARIANT_TRUE goes on
    // running the page's scripts with no dialog.
    virtual HRESULT OnScriptError(VARIANT* pvaIn, VARIANT* pvaOut);

    // The answers of a window that is no CDocHostHandler itself.
    static CDocHostHandler& GetDefault();
};
