#include "framework/AccessibleButton.h"

#include "framework/ComRefCount.h"

namespace {

// What Windows' own push buttons name their default action.
const wchar_t kPress[] = L"Press";

bool IsSelf(const VARIANT& varChild) {
    return varChild.vt == VT_I4 && varChild.lVal == CHILDID_SELF;
}

} // namespace

CAccessibleButton::CAccessibleButton(HWND hWnd, IAccessibleButtonHost* pHost,
                                     const std::wstring& strName,
                                     const std::wstring& strDescription)
    : m_hWnd(hWnd), m_pHost(pHost), m_strName(strName), m_strDescription(strDescription) {}

AFX_IMPLEMENT_REFCOUNT(CAccessibleButton)

void CAccessibleButton::Disconnect() {
    m_hWnd = nullptr;
    m_pHost = nullptr;
}

LONG CAccessibleButton::GetState() const {
    if (m_hWnd == nullptr)
        return STATE_SYSTEM_UNAVAILABLE;
    LONG state = STATE_SYSTEM_FOCUSABLE;
    if (::GetFocus() == m_hWnd)
        state |= STATE_SYSTEM_FOCUSED;
    if (!::IsWindowVisible(m_hWnd))
        state |= STATE_SYSTEM_INVISIBLE;
    if (!::IsWindowEnabled(m_hWnd))
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (m_pHost != nullptr)
        state |= m_pHost->GetAccState();
    if (state & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE))
        state &= ~STATE_SYSTEM_FOCUSABLE;
    return state;
}

HRESULT CAccessibleButton::CheckSelf(const VARIANT& varChild) const {
    if (m_hWnd == nullptr)
        return RPC_E_DISCONNECTED;
    return IsSelf(varChild) ? S_OK : E_INVALIDARG;
}

HRESULT CAccessibleButton::CopyText(const std::wstring& strText, BSTR* pbstr) {
    if (pbstr == nullptr)
        return E_POINTER;
    *pbstr = nullptr;
    if (strText.empty())
        return S_FALSE;
    *pbstr = ::SysAllocStringLen(strText.data(), static_cast<UINT>(strText.size()));
    return *pbstr != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT CAccessibleButton::CopyLong(const VARIANT& varChild, LONG value, VARIANT* pvar) const {
    if (pvar == nullptr)
        return E_POINTER;
    ::VariantInit(pvar);
    const HRESULT hr = CheckSelf(varChild);
    if (FAILED(hr))
        return hr;
    pvar->vt = VT_I4;
    pvar->lVal = value;
    return S_OK;
}

STDMETHODIMP CAccessibleButton::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
        *ppv = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CAccessibleButton::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP CAccessibleButton::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CAccessibleButton::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP CAccessibleButton::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                       EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

STDMETHODIMP CAccessibleButton::get_accParent(IDispatch** ppdispParent) {
    if (ppdispParent == nullptr)
        return E_POINTER;
    *ppdispParent = nullptr;
    return m_hWnd == nullptr ? RPC_E_DISCONNECTED : S_FALSE;
}

STDMETHODIMP CAccessibleButton::get_accChildCount(long* pcountChildren) {
    if (pcountChildren == nullptr)
        return E_POINTER;
    *pcountChildren = 0;
    return m_hWnd == nullptr ? RPC_E_DISCONNECTED : S_OK;
}

STDMETHODIMP CAccessibleButton::get_accChild(VARIANT, IDispatch** ppdispChild) {
    if (ppdispChild == nullptr)
        return E_POINTER;
    *ppdispChild = nullptr;
    return m_hWnd == nullptr ? RPC_E_DISCONNECTED : E_INVALIDARG;
}

STDMETHODIMP CAccessibleButton::get_accName(VARIANT varChild, BSTR* pszName) {
    const HRESULT hr = CheckSelf(varChild);
    return FAILED(hr) ? hr : CopyText(m_strName, pszName);
}

STDMETHODIMP CAccessibleButton::get_accValue(VARIANT varChild, BSTR* pszValue) {
    if (pszValue != nullptr)
        *pszValue = nullptr;
    const HRESULT hr = CheckSelf(varChild);
    return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP CAccessibleButton::get_accDescription(VARIANT varChild, BSTR* pszDescription) {
    const HRESULT hr = CheckSelf(varChild);
    return FAILED(hr) ? hr : CopyText(m_strDescription, pszDescription);
}

STDMETHODIMP CAccessibleButton::get_accRole(VARIANT varChild, VARIANT* pvarRole) {
    return CopyLong(varChild, ROLE_SYSTEM_PUSHBUTTON, pvarRole);
}

STDMETHODIMP CAccessibleButton::get_accState(VARIANT varChild, VARIANT* pvarState) {
    return CopyLong(varChild, m_hWnd != nullptr ? GetState() : 0, pvarState);
}

STDMETHODIMP CAccessibleButton::get_accHelp(VARIANT varChild, BSTR* pszHelp) {
    const HRESULT hr = CheckSelf(varChild);
    return FAILED(hr) ? hr : CopyText(std::wstring(), pszHelp);
}

STDMETHODIMP CAccessibleButton::get_accHelpTopic(BSTR* pszHelpFile, VARIANT, long* pidTopic) {
    if (pszHelpFile != nullptr)
        *pszHelpFile = nullptr;
    if (pidTopic != nullptr)
        *pidTopic = 0;
    return m_hWnd == nullptr ? RPC_E_DISCONNECTED : S_FALSE;
}

STDMETHODIMP CAccessibleButton::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszShortcut) {
    const HRESULT hr = CheckSelf(varChild);
    return FAILED(hr) ? hr : CopyText(std::wstring(), pszShortcut);
}

STDMETHODIMP CAccessibleButton::get_accFocus(VARIANT* pvarChild) {
    if (pvarChild == nullptr)
        return E_POINTER;
    ::VariantInit(pvarChild);
    if (m_hWnd == nullptr)
        return RPC_E_DISCONNECTED;
    if (::GetFocus() != m_hWnd)
        return S_FALSE;
    pvarChild->vt = VT_I4;
    pvarChild->lVal = CHILDID_SELF;
    return S_OK;
}

STDMETHODIMP CAccessibleButton::get_accSelection(VARIANT* pvarChildren) {
    if (pvarChildren == nullptr)
        return E_POINTER;
    ::VariantInit(pvarChildren);
    return m_hWnd == nullptr ? RPC_E_DISCONNECTED : S_FALSE;
}

STDMETHODIMP CAccessibleButton::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
    const HRESULT hr = CheckSelf(varChild);
    return FAILED(hr) ? hr : CopyText(kPress, pszDefaultAction);
}

STDMETHODIMP CAccessibleButton::accSelect(long flagsSelect, VARIANT varChild) {
    const HRESULT hr = CheckSelf(varChild);
    if (FAILED(hr))
        return hr;
    if (flagsSelect != SELFLAG_TAKEFOCUS || (GetState() & STATE_SYSTEM_FOCUSABLE) == 0)
        return DISP_E_MEMBERNOTFOUND;
    ::SetFocus(m_hWnd);
    return S_OK;
}

STDMETHODIMP CAccessibleButton::accLocation(long* pxLeft, long* pyTop, long* pcxWidth,
                                            long* pcyHeight, VARIANT varChild) {
    if (pxLeft == nullptr || pyTop == nullptr || pcxWidth == nullptr || pcyHeight == nullptr)
        return E_POINTER;
    const HRESULT hr = CheckSelf(varChild);
    if (FAILED(hr))
        return hr;
    RECT rc = {};
    ::GetWindowRect(m_hWnd, &rc);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.right - rc.left;
    *pcyHeight = rc.bottom - rc.top;
    return S_OK;
}

STDMETHODIMP CAccessibleButton::accNavigate(long, VARIANT varStart, VARIANT* pvarEndUpAt) {
    if (pvarEndUpAt == nullptr)
        return E_POINTER;
    ::VariantInit(pvarEndUpAt);
    const HRESULT hr = CheckSelf(varStart);
    return FAILED(hr) ? hr : S_FALSE;
}

STDMETHODIMP CAccessibleButton::accHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
    if (pvarChild == nullptr)
        return E_POINTER;
    ::VariantInit(pvarChild);
    if (m_hWnd == nullptr)
        return RPC_E_DISCONNECTED;
    RECT rc = {};
    ::GetWindowRect(m_hWnd, &rc);
    const POINT pt = {xLeft, yTop};
    if (!::PtInRect(&rc, pt))
        return S_FALSE;
    pvarChild->vt = VT_I4;
    pvarChild->lVal = CHILDID_SELF;
    return S_OK;
}

STDMETHODIMP CAccessibleButton::accDoDefaultAction(VARIANT varChild) {
    const HRESULT hr = CheckSelf(varChild);
    if (FAILED(hr))
        return hr;
    if (GetState() & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE))
        return DISP_E_MEMBERNOTFOUND;
    // Posted: the click may open a modal dialog, which must not run inside the
    // caller's request.
    ::PostMessageA(m_hWnd, BM_CLICK, 0, 0);
    return S_OK;
}

STDMETHODIMP CAccessibleButton::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

STDMETHODIMP CAccessibleButton::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}
