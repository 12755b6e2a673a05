// Base of every object the stand-in hands out: reference count, and a log
// line at creation, at each QueryInterface and at the final release.
#pragma once
#include "testbed/standin/CallLog.h"

#include <windows.h>

class CStandinObject {
public:
    CStandinObject(const CStandinObject&) = delete;
    CStandinObject& operator=(const CStandinObject&) = delete;

protected:
    explicit CStandinObject(const char* pszKind);
    virtual ~CStandinObject();
    ULONG AddRefObject();
    ULONG ReleaseObject();
    // Logs the request; on success AddRefs through pUnk and stores it.
    HRESULT Answer(REFIID riid, IUnknown* pUnk, void** ppv);

    const char* const m_pszKind;
    const LONG m_nId;

private:
    LONG m_nRef = 1;
};

// IUnknown's counting members, for a class derived from CStandinObject.
#define QEL_STANDIN_REFCOUNT()                                                                     \
    ULONG STDMETHODCALLTYPE AddRef() override {                                                    \
        return AddRefObject();                                                                     \
    }                                                                                              \
    ULONG STDMETHODCALLTYPE Release() override {                                                   \
        return ReleaseObject();                                                                    \
    }

// IDispatch's type-information members, which no stand-in object offers: a
// caller that asks for type information or names is logged.
#define QEL_STANDIN_NO_TYPEINFO()                                                                  \
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override {                           \
        *pctinfo = 0;                                                                              \
        return S_OK;                                                                               \
    }                                                                                              \
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {                      \
        return CCallLog::Unexpected("IDispatch::GetTypeInfo");                                     \
    }                                                                                              \
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {     \
        return CCallLog::Unexpected("IDispatch::GetIDsOfNames");                                   \
    }
