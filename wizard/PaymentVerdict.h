// The payment test's verdict on a result text "flag|message|": success
// exactly when the flag, lower-cased, is "y".
#pragma once

#include "framework/String.h"

// Result text of the payment-test page dialog when its page flow times out
// (105 bytes in code page 949; flag "n").
inline constexpr char PAYTEST_TIMEOUT_RESULT[] =
    "n|MPI처리가 시간내에 완료되지 않아 처리를 종료합니다.\n\n"
    "팝업창을 닫으신 후에 다시 시도해 주시기 바랍니다.|";

// Returns the text before the first separator and leaves the rest after it in
// text; with no separator returns the whole text and leaves text unchanged.
CString TakeToken(CString& text, CString separator);

// Lower-cased copy; double-byte characters stay as they are.
CString ToLower(CString text);

// Compares lower-cased copies: lstrcmpA on Windows, strcmp elsewhere; 0 when
// equal.
int CompareLower(CString a, CString b);

// 1 when the result text's flag is "y" in either case, otherwise 0.
int PaymentVerdict(const CString& result);
