#include "testbed/standin/CacheCopy.h"

#include <wininet.h>

#include <cwctype>
#include <vector>

namespace {

const LONGLONG kTicksPerSecond = 10000000;

LONGLONG Seconds(const FILETIME& ft) {
    ULARGE_INTEGER n;
    n.LowPart = ft.dwLowDateTime;
    n.HighPart = ft.dwHighDateTime;
    return static_cast<LONGLONG>(n.QuadPart / kTicksPerSecond);
}

LONGLONG Now() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return Seconds(ft);
}

// An HTTP date; false for anything else ("-1", "0").
bool HttpDate(const std::wstring& strDate, LONGLONG& nSeconds) {
    SYSTEMTIME st;
    FILETIME ft;
    if (strDate.empty() || !InternetTimeToSystemTimeW(strDate.c_str(), &st, 0) || st.wYear < 1980 ||
        !SystemTimeToFileTime(&st, &ft))
        return false;
    nSeconds = Seconds(ft);
    return true;
}

std::wstring Lower(std::wstring str) {
    for (wchar_t& c : str)
        c = static_cast<wchar_t>(std::towlower(c));
    return str;
}

// The number after "name=" in a Cache-Control value; false when the directive is absent.
bool Directive(const std::wstring& strValue, const wchar_t* pszName, LONGLONG& nSeconds) {
    const std::wstring strName = std::wstring(pszName) + L"=";
    const size_t n = Lower(strValue).find(strName);
    if (n == std::wstring::npos)
        return false;
    nSeconds = _wtoi64(strValue.c_str() + n + strName.size());
    return true;
}

} // namespace

std::wstring CCacheCopy::Header(const std::wstring& strHeaders, const wchar_t* pszName) {
    const std::wstring strWanted = Lower(pszName) + L":";
    size_t nLine = 0;
    while (nLine < strHeaders.size()) {
        size_t nEnd = strHeaders.find(L'\n', nLine);
        if (nEnd == std::wstring::npos)
            nEnd = strHeaders.size();
        std::wstring strLine = strHeaders.substr(nLine, nEnd - nLine);
        if (!strLine.empty() && strLine.back() == L'\r')
            strLine.pop_back();
        if (Lower(strLine.substr(0, strWanted.size())) == strWanted) {
            const size_t nValue = strLine.find_first_not_of(L" \t", strWanted.size());
            return nValue == std::wstring::npos ? std::wstring() : strLine.substr(nValue);
        }
        nLine = nEnd + 1;
    }
    return std::wstring();
}

DWORD CCacheCopy::Status(const std::wstring& strHeaders) {
    if (Lower(strHeaders.substr(0, 5)) != L"http/")
        return 0;
    const size_t n = strHeaders.find(L' ');
    return n == std::wstring::npos ? 0 : static_cast<DWORD>(_wtoi(strHeaders.c_str() + n + 1));
}

bool CCacheCopy::Expiry(const std::wstring& strHeaders, LONGLONG nReceived, LONGLONG& nExpiry) {
    const std::wstring strControl = Lower(Header(strHeaders, L"Cache-Control"));
    if (strControl.find(L"no-cache") != std::wstring::npos ||
        strControl.find(L"no-store") != std::wstring::npos)
        return false;
    LONGLONG nMaxAge = 0;
    if (Directive(strControl, L"max-age", nMaxAge)) {
        nExpiry = nReceived + nMaxAge;
        return true;
    }
    LONGLONG nDate = nReceived, nThen = 0;
    HttpDate(Header(strHeaders, L"Date"), nDate);
    const std::wstring strExpires = Header(strHeaders, L"Expires");
    if (!strExpires.empty()) {
        // An Expires that is no date ("-1", "0") has run out already.
        nExpiry = HttpDate(strExpires, nThen) ? nReceived + (nThen - nDate) : 0;
        return true;
    }
    if (HttpDate(Header(strHeaders, L"Last-Modified"), nThen) && nThen <= nDate) {
        nExpiry = nReceived + (nDate - nThen) / 10;
        return true;
    }
    return false;
}

bool CCacheCopy::Find(const std::wstring& strUrl, std::string& strBytes, std::wstring& strHeaders,
                      LONGLONG& nFreshFor) {
    DWORD nSize = 0;
    GetUrlCacheEntryInfoW(strUrl.c_str(), nullptr, &nSize);
    if (nSize < sizeof(INTERNET_CACHE_ENTRY_INFOW))
        return false;
    std::vector<BYTE> buffer(nSize);
    auto* pInfo = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    pInfo->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOW);
    if (!GetUrlCacheEntryInfoW(strUrl.c_str(), pInfo, &nSize) || !pInfo->lpszLocalFileName)
        return false;
    strHeaders = pInfo->lpHeaderInfo
                     ? std::wstring(pInfo->lpHeaderInfo,
                                    wcsnlen(pInfo->lpHeaderInfo, pInfo->dwHeaderInfoSize))
                     : std::wstring();
    HANDLE hFile = CreateFileW(pInfo->lpszLocalFileName, GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    FILETIME ftWritten = {0, 0};
    GetFileTime(hFile, nullptr, nullptr, &ftWritten);
    LONGLONG nExpiry = 0;
    bool bFresh = Status(strHeaders) == 200 && Expiry(strHeaders, Seconds(ftWritten), nExpiry) &&
                  nExpiry > Now();
    strBytes.clear();
    char chunk[4096];
    DWORD nRead = 0;
    while (bFresh && ReadFile(hFile, chunk, sizeof chunk, &nRead, nullptr) && nRead > 0)
        strBytes.append(chunk, nRead);
    CloseHandle(hFile);
    nFreshFor = nExpiry - Now();
    return bFresh;
}
