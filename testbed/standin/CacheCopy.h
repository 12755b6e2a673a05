// A fresh copy of an address in WinINet's cache, answered as the control
// answers from its cache (KB234067; IEInternals on heuristic expiration): a
// stored 200 answer whose lifetime by its own headers has not run out:
// Cache-Control max-age, else Expires against Date, else a tenth of the time
// from Last-Modified to Date. no-cache or no-store: never fresh; no lifetime
// at all: not fresh (checked once a session, and each run is one).
#pragma once
#include <windows.h>

#include <string>

class CCacheCopy {
public:
    // True with the copy's bytes, its stored header block and the seconds it
    // stays fresh when the cache holds a fresh copy of strUrl.
    static bool Find(const std::wstring& strUrl, std::string& strBytes, std::wstring& strHeaders,
                     LONGLONG& nFreshFor);
    // A header's value in a stored header block ("Name: value" lines); empty when absent.
    static std::wstring Header(const std::wstring& strHeaders, const wchar_t* pszName);
    // The status of a stored header block's first line; 0 when it has none.
    static DWORD Status(const std::wstring& strHeaders);

private:
    // The second (since 1601) at which the copy stops being fresh; false: no lifetime.
    static bool Expiry(const std::wstring& strHeaders, LONGLONG nReceived, LONGLONG& nExpiry);
};
