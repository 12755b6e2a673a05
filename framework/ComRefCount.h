// AddRef and Release of a heap COM object counted in its member m_cRef (LONG,
// 1 at construction): the last release deletes the object.
#pragma once

#include <objbase.h>

#define AFX_IMPLEMENT_REFCOUNT(theClass)                                                           \
    STDMETHODIMP_(ULONG) theClass::AddRef() {                                                      \
        return static_cast<ULONG>(::InterlockedIncrement(&m_cRef));                                \
    }                                                                                              \
    STDMETHODIMP_(ULONG) theClass::Release() {                                                     \
        const LONG cRef = ::InterlockedDecrement(&m_cRef);                                         \
        if (cRef == 0)                                                                             \
            delete this;                                                                           \
        return static_cast<ULONG>(cRef);                                                           \
    }
