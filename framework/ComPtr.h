// CComPtr: one COM interface reference, released when the pointer goes out
// of scope or takes another interface. Attach adopts a reference, Detach
// hands it over; QueryInterface asks for another interface into a pointer.
#pragma once

#include <objbase.h>

#include <cassert>
#include <memory>

template <class T> class CComPtr {
public:
    CComPtr() = default;
    CComPtr(T* pInit) : p(pInit) {
        if (p != nullptr)
            p->AddRef();
    }
    CComPtr(const CComPtr& other) : CComPtr(other.p) {}
    CComPtr(CComPtr&& other) noexcept : p(other.Detach()) {}
    ~CComPtr() { Release(); }

    CComPtr& operator=(T* pNew) {
        if (pNew != nullptr)
            pNew->AddRef();
        Attach(pNew);
        return *this;
    }
    CComPtr& operator=(const CComPtr& other) { return *this = other.p; }
    CComPtr& operator=(CComPtr&& other) noexcept {
        if (this != std::addressof(other))
            Attach(other.Detach());
        return *this;
    }

    operator T*() const { return p; }
    T* operator->() const { return p; }
    // For an out parameter: the pointer must be empty, or the reference it
    // holds would be overwritten and leak.
    T** operator&() {
        assert(p == nullptr);
        return &p;
    }

    // Lets go of the reference held, if any; the member is null before the
    // interface's Release runs.
    void Release() {
        T* pOld = p;
        if (pOld != nullptr) {
            p = nullptr;
            pOld->Release();
        }
    }
    // Takes over a reference the caller owns.
    void Attach(T* pNew) {
        T* pOld = p;
        p = pNew;
        if (pOld != nullptr)
            pOld->Release();
    }
    // Hands the reference to the caller.
    T* Detach() {
        T* pOld = p;
        p = nullptr;
        return pOld;
    }
    template <class Q> HRESULT QueryInterface(Q** ppOut) const {
        return p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(ppOut));
    }

    T* p = nullptr;
};
