// CEnumUnknown: an IEnumUnknown over a fixed list of objects, each held with
// a reference until the enumerator goes.
#pragma once

#include "framework/ComPtr.h"
#include "framework/WinTypes.h"

#include <objidl.h>
#include <vector>

class CEnumUnknown : public IEnumUnknown {
public:
    // Starts with one reference, which the caller owns.
    explicit CEnumUnknown(const std::vector<IUnknown*>& objects, size_t nPos = 0);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IEnumUnknown
    STDMETHODIMP Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched) override;
    STDMETHODIMP Skip(ULONG celt) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumUnknown** ppenum) override;

private:
    virtual ~CEnumUnknown() = default;

    LONG m_cRef = 1;
    std::vector<CComPtr<IUnknown>> m_objects;
    size_t m_nPos;
};
