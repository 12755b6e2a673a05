#include "framework/OleDispatch.h"

#include "framework/CmdTarget.h"

#include <cstring>
#include <vector>

namespace {

void ClearResult(VARTYPE vtRet, void* pvRet) {
    if (pvRet == nullptr)
        return;
    switch (vtRet) {
    case VT_DISPATCH:
        *static_cast<IDispatch**>(pvRet) = nullptr;
        break;
    case VT_I4:
        *static_cast<long*>(pvRet) = 0;
        break;
    case VT_BOOL:
        *static_cast<BOOL*>(pvRet) = FALSE;
        break;
    case VT_VARIANT:
        ::VariantInit(static_cast<VARIANT*>(pvRet));
        break;
    default:
        break;
    }
}

// The result into the caller's variable; ownership of a pointer moves out.
void StoreResult(VARTYPE vtRet, void* pvRet, VARIANT& result) {
    if (pvRet == nullptr)
        return;
    if (vtRet == VT_VARIANT) {
        *static_cast<VARIANT*>(pvRet) = result;
        ::VariantInit(&result);
        return;
    }
    if (vtRet == VT_DISPATCH) {
        if (result.vt == VT_DISPATCH) {
            *static_cast<IDispatch**>(pvRet) = result.pdispVal;
            ::VariantInit(&result);
        }
        return;
    }
    if ((vtRet == VT_I4 || vtRet == VT_BOOL) &&
        SUCCEEDED(::VariantChangeType(&result, &result, 0, vtRet))) {
        if (vtRet == VT_I4)
            *static_cast<long*>(pvRet) = result.lVal;
        else
            *static_cast<BOOL*>(pvRet) = result.boolVal != VARIANT_FALSE;
    }
}

} // namespace

HRESULT AfxInvokeHelperV(IDispatch* pDisp, DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                         const BYTE* pbParamInfo, va_list args) {
    ClearResult(vtRet, pvRet);
    if (pDisp == nullptr)
        return E_POINTER;

    const size_t nArgs = pbParamInfo ? std::strlen(reinterpret_cast<const char*>(pbParamInfo)) : 0;
    // DISPPARAMS takes the arguments last first.
    std::vector<VARIANT> argv(nArgs);
    for (size_t i = 0; i < nArgs; ++i) {
        VARIANT& v = argv[nArgs - 1 - i];
        ::VariantInit(&v);
        switch (pbParamInfo[i]) {
        case VT_VARIANT | VT_MFCBYREF:
            v.vt = VT_VARIANT | VT_BYREF;
            v.pvarVal = va_arg(args, VARIANT*);
            break;
        case VT_DISPATCH:
            v.vt = VT_DISPATCH;
            v.pdispVal = va_arg(args, IDispatch*);
            break;
        case VT_I4:
            v.vt = VT_I4;
            v.lVal = va_arg(args, long);
            break;
        case VT_BOOL:
            v.vt = VT_BOOL;
            v.boolVal = va_arg(args, BOOL) ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        default:
            return DISP_E_BADVARTYPE;
        }
    }

    // A property's new value is the one named argument of a put.
    DISPID dispidPut = DISPID_PROPERTYPUT;
    const bool bPut = (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params = {argv.data(), bPut ? &dispidPut : nullptr, static_cast<UINT>(nArgs),
                         bPut ? 1u : 0u};
    VARIANT result;
    ::VariantInit(&result);
    UINT nArgErr = 0;
    HRESULT hr = pDisp->Invoke(dwDispID, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params,
                               vtRet == VT_EMPTY ? nullptr : &result, nullptr, &nArgErr);
    if (SUCCEEDED(hr))
        StoreResult(vtRet, pvRet, result);
    ::VariantClear(&result);
    return hr;
}
