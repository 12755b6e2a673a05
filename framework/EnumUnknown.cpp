#include "framework/EnumUnknown.h"

#include "framework/ComRefCount.h"

CEnumUnknown::CEnumUnknown(const std::vector<IUnknown*>& objects, size_t nPos)
    : m_objects(objects.begin(), objects.end()), m_nPos(nPos) {}

STDMETHODIMP CEnumUnknown::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IEnumUnknown)
        return E_NOINTERFACE;
    *ppv = static_cast<IEnumUnknown*>(this);
    AddRef();
    return S_OK;
}

AFX_IMPLEMENT_REFCOUNT(CEnumUnknown)

STDMETHODIMP CEnumUnknown::Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched) {
    if (rgelt == nullptr || (celt > 1 && pceltFetched == nullptr))
        return E_POINTER;
    ULONG nFetched = 0;
    for (; nFetched < celt && m_nPos < m_objects.size(); ++nFetched, ++m_nPos) {
        rgelt[nFetched] = m_objects[m_nPos];
        rgelt[nFetched]->AddRef();
    }
    if (pceltFetched != nullptr)
        *pceltFetched = nFetched;
    return nFetched == celt ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumUnknown::Skip(ULONG celt) {
    const size_t nLeft = m_objects.size() - m_nPos;
    m_nPos += celt < nLeft ? celt : nLeft;
    return celt <= nLeft ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumUnknown::Reset() {
    m_nPos = 0;
    return S_OK;
}

STDMETHODIMP CEnumUnknown::Clone(IEnumUnknown** ppenum) {
    if (ppenum == nullptr)
        return E_POINTER;
    std::vector<IUnknown*> objects(m_objects.begin(), m_objects.end());
    *ppenum = new CEnumUnknown(objects, m_nPos);
    return S_OK;
}
