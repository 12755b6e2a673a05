// A server's answer as raw header lines (curl -D, or a copy of them): its
// status, its fields, and whether they let the browser control keep the page
// and answer a later request for it from its cache without asking the server.
#pragma once

#include <ctime>
#include <string>
#include <vector>

class CResponseHeaders {
public:
    explicit CResponseHeaders(const std::string& strText);

    // The status of the last status line (curl -D writes one per redirect); 0 without one.
    unsigned long Status() const { return m_nStatus; }
    // The value of the last field of that name (case-insensitive); empty without one.
    std::string Value(const char* pszName) const;
    bool Has(const char* pszName) const;

    // Empty when the fields keep the page from being answered from the cache:
    // Cache-Control no-store, no-cache or max-age=0, or (without a max-age above
    // 0) an Expires that is not after the answer's Date (now without one) or is
    // no date at all; else why they do not.
    std::string CachingAllowed(std::time_t nNow) const;

    // An HTTP date (RFC 1123 form, GMT) as seconds since 1970; -1 when it is none.
    static std::time_t ParseDate(const std::string& strDate);

private:
    unsigned long m_nStatus = 0;
    std::vector<std::pair<std::string, std::string>> m_vecFields;
};
