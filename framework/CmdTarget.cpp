#include "framework/CmdTarget.h"

#include "framework/RuntimeClass.h"

const CRuntimeClass CCmdTarget::classCCmdTarget = {"CCmdTarget", sizeof(CCmdTarget), 0xFFFF,
                                                   nullptr, nullptr};

const CRuntimeClass* CCmdTarget::GetRuntimeClass() const {
    return &classCCmdTarget;
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage,
                                                     UINT nCode, UINT nID) {
    for (; pMap != nullptr; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage != nMessage)
                continue;
            if (nMessage == WM_COMMAND && (e->nCode != nCode || nID < e->nID || nID > e->nLastID))
                continue;
            return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode) {
    const AFX_MSGMAP_ENTRY* e =
        FindMessageEntry(GetMessageMap(), WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (e == nullptr || e->nSig != AfxSig_vv)
        return FALSE;
    (this->*e->pfn)();
    return TRUE;
}

const AFX_EVENTSINKMAP* CCmdTarget::GetThisEventSinkMap() {
    static const AFX_EVENTSINKMAP_ENTRY entries[] = {{0, 0, nullptr, nullptr, nullptr}};
    static const AFX_EVENTSINKMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_EVENTSINKMAP* CCmdTarget::GetEventSinkMap() const {
    return GetThisEventSinkMap();
}

const AFX_EVENTSINKMAP_ENTRY* CCmdTarget::FindEventSinkEntry(UINT nCtlId, long dispid) const {
    for (const AFX_EVENTSINKMAP* pMap = GetEventSinkMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_EVENTSINKMAP_ENTRY* e = pMap->lpEntries; e->pfnThunk != nullptr; ++e) {
            if (e->nCtlId == nCtlId && e->dispid == dispid)
                return e;
        }
    }
    return nullptr;
}
