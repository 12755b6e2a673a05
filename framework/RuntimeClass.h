// CRuntimeClass: the run-time class record of a command target: its name,
// object size, schema, base class and, for dynamic creation, a factory.
#pragma once

#include "framework/CmdTarget.h"

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF: not serialisable
    CCmdTarget* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // A new object of the class, or NULL when it cannot be created dynamically.
    CCmdTarget* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
        for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass) {
            if (p == pBaseClass)
                return TRUE;
        }
        return FALSE;
    }
};

#define RUNTIME_CLASS(theClass) (&theClass::class##theClass)

#define DECLARE_DYNAMIC(theClass)                                                                  \
public:                                                                                            \
    static const CRuntimeClass class##theClass;                                                    \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(theClass)                                                                \
    DECLARE_DYNAMIC(theClass)                                                                      \
    static CCmdTarget* CreateObject();

#define IMPLEMENT_RUNTIMECLASS(theClass, baseClass, wSchema, pfnNew)                               \
    const CRuntimeClass theClass::class##theClass = {#theClass, sizeof(theClass), wSchema, pfnNew, \
                                                     RUNTIME_CLASS(baseClass)};                    \
    const CRuntimeClass* theClass::GetRuntimeClass() const {                                       \
        return RUNTIME_CLASS(theClass);                                                            \
    }

#define IMPLEMENT_DYNAMIC(theClass, baseClass)                                                     \
    IMPLEMENT_RUNTIMECLASS(theClass, baseClass, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(theClass, baseClass)                                                   \
    CCmdTarget* theClass::CreateObject() {                                                         \
        return new theClass;                                                                       \
    }                                                                                              \
    IMPLEMENT_RUNTIMECLASS(theClass, baseClass, 0xFFFF, theClass::CreateObject)
