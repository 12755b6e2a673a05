// The address schemes a page shown by the wizard may lead to: the web's own,
// and the control's error pages. Every other scheme (file:, mk:, an
// application protocol) is cancelled before the control follows it.
#pragma once

#include "framework/String.h"

class CNavigationScheme {
public:
    // "http", "https", "about", "javascript", "res", in lower case.
    static const LPCTSTR s_aszAllowed[];
    static const int s_nAllowed;

    // The scheme of address in lower case: the characters before the first
    // ':' when they form a scheme name (a letter, then letters, digits, '+',
    // '-' or '.'); empty for an address without one.
    static CString SchemeOf(const CString& address);

    // TRUE when address has an allowed scheme. An address without a scheme
    // is not allowed: the control resolves it against the page, so a
    // relative address never reaches BeforeNavigate2 as one.
    static BOOL IsAllowed(const CString& address);
};
