#include "framework/OleControlContainer.h"

#include "framework/OleControlSite.h"

COleControlContainer::~COleControlContainer() {
    CloseAll();
}

COleControlSite* COleControlContainer::CreateControl(REFCLSID clsid, LPCTSTR lpszWindowName,
                                                     DWORD dwStyle, const RECT& rect, UINT nID,
                                                     const BYTE* pInitData, ULONG cbInitData) {
    COleControlSite* pSite = new COleControlSite(m_pWnd);
    if (!pSite->CreateControl(clsid, lpszWindowName, dwStyle, rect, nID, pInitData, cbInitData)) {
        pSite->Release();
        return nullptr;
    }
    m_sites.push_back(pSite);
    return pSite;
}

COleControlSite* COleControlContainer::FindItem(HWND hWnd) const {
    for (COleControlSite* pSite : m_sites) {
        if (hWnd != nullptr && pSite->GetHwnd() == hWnd)
            return pSite;
    }
    return nullptr;
}

BOOL COleControlContainer::PreTranslateInput(MSG* pMsg) const {
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) && pMsg->wParam == VK_ESCAPE)
        return FALSE;
    for (COleControlSite* pSite : m_sites) {
        HWND hWndCtrl = pSite->GetHwnd();
        if (hWndCtrl != nullptr && (pMsg->hwnd == hWndCtrl || ::IsChild(hWndCtrl, pMsg->hwnd)))
            return pSite->PreTranslateInput(pMsg);
    }
    return FALSE;
}

void COleControlContainer::CloseAll() {
    std::vector<COleControlSite*> sites;
    sites.swap(m_sites);
    for (COleControlSite* pSite : sites) {
        pSite->Close();
        pSite->Release();
    }
}
