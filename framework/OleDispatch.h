// Automation calls through IDispatch with MFC-style parameter codes.
#pragma once

#include "framework/WinTypes.h"

#include <cstdarg>
#include <ole2.h>

// Calls dispid on pDisp with the arguments in args described by
// pbParamInfo (VTS_... codes; NULL for none) and stores the result as vtRet
// in pvRet (VT_EMPTY: none). VTS_PVARIANT passes the caller's VARIANT by
// reference. The out value is zeroed first, so a failed call leaves it
// NULL/0. Returns the call's HRESULT.
HRESULT AfxInvokeHelperV(IDispatch* pDisp, DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                         const BYTE* pbParamInfo, va_list args);
