#include "pagecheck/ResponseHeaders.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

std::string Lower(std::string str) {
    for (char& c : str)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return str;
}

std::string Trim(const std::string& str) {
    const size_t nFirst = str.find_first_not_of(" \t\r\n");
    if (nFirst == std::string::npos)
        return std::string();
    return str.substr(nFirst, str.find_last_not_of(" \t\r\n") - nFirst + 1);
}

// The directives of a Cache-Control value, lower-cased, with their values.
std::vector<std::pair<std::string, std::string>> Directives(const std::string& strValue) {
    std::vector<std::pair<std::string, std::string>> vec;
    std::istringstream in(strValue);
    std::string strPart;
    while (std::getline(in, strPart, ',')) {
        const size_t nEq = strPart.find('=');
        std::string strArg =
            nEq == std::string::npos ? std::string() : Trim(strPart.substr(nEq + 1));
        if (strArg.size() >= 2 && strArg.front() == '"' && strArg.back() == '"')
            strArg = strArg.substr(1, strArg.size() - 2);
        vec.emplace_back(Lower(Trim(strPart.substr(0, nEq))), strArg);
    }
    return vec;
}

} // namespace

CResponseHeaders::CResponseHeaders(const std::string& strText) {
    std::istringstream in(strText);
    std::string strLine;
    while (std::getline(in, strLine)) {
        strLine = Trim(strLine);
        if (strLine.compare(0, 5, "HTTP/") == 0) {
            // A new answer (after a redirect or a 100 Continue): its fields replace the last.
            const size_t nSpace = strLine.find(' ');
            m_nStatus = nSpace == std::string::npos
                            ? 0
                            : std::strtoul(strLine.c_str() + nSpace + 1, nullptr, 10);
            m_vecFields.clear();
            continue;
        }
        const size_t nColon = strLine.find(':');
        if (nColon != std::string::npos && nColon > 0)
            m_vecFields.emplace_back(Lower(Trim(strLine.substr(0, nColon))),
                                     Trim(strLine.substr(nColon + 1)));
    }
}

std::string CResponseHeaders::Value(const char* pszName) const {
    const std::string strName = Lower(pszName);
    std::string strValue;
    for (const auto& field : m_vecFields) {
        if (field.first == strName)
            strValue = field.second;
    }
    return strValue;
}

bool CResponseHeaders::Has(const char* pszName) const {
    const std::string strName = Lower(pszName);
    for (const auto& field : m_vecFields) {
        if (field.first == strName)
            return true;
    }
    return false;
}

std::time_t CResponseHeaders::ParseDate(const std::string& strDate) {
    static const char kMonths[] = "janfebmaraprmayjunjulaugsepoctnovdec";
    char szDay[16] = "", szMonth[4] = "", szZone[4] = "GMT";
    int nDay = 0, nYear = 0, nHour = 0, nMinute = 0, nSecond = 0;
    const char* psz = strDate.c_str();
    // The three forms HTTP/1.1 accepts: RFC 1123, RFC 850 (two-digit year), asctime.
    const bool bRfc1123 =
        std::sscanf(psz, "%3[A-Za-z], %d %3[A-Za-z] %d %d:%d:%d %3s", szDay, &nDay, szMonth, &nYear,
                    &nHour, &nMinute, &nSecond, szZone) == 8;
    const bool bRfc850 =
        !bRfc1123 && std::sscanf(psz, "%15[A-Za-z], %d-%3[A-Za-z]-%d %d:%d:%d %3s", szDay, &nDay,
                                 szMonth, &nYear, &nHour, &nMinute, &nSecond, szZone) == 8;
    if (bRfc850)
        nYear += nYear < 70 ? 2000 : nYear < 100 ? 1900 : 0;
    if (!bRfc1123 && !bRfc850 &&
        std::sscanf(psz, "%3[A-Za-z] %3[A-Za-z] %d %d:%d:%d %d", szDay, szMonth, &nDay, &nHour,
                    &nMinute, &nSecond, &nYear) != 7)
        return -1;
    if (Lower(szZone) != "gmt")
        return -1;
    const char* pszMonth = std::strstr(kMonths, Lower(szMonth).c_str());
    if (!pszMonth || (pszMonth - kMonths) % 3 != 0 || nDay < 1 || nDay > 31 || nHour > 23 ||
        nMinute > 59 || nSecond > 60)
        return -1;
    // Days since 1970 of a proleptic Gregorian date (civil-from-days, inverted).
    const int nMonth = static_cast<int>(pszMonth - kMonths) / 3 + 1;
    const int y = nYear - (nMonth <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (nMonth + (nMonth > 2 ? -3 : 9)) + 2) / 5 + nDay - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long nDays = static_cast<long long>(era) * 146097 + doe - 719468;
    return static_cast<std::time_t>(nDays * 86400 + nHour * 3600 + nMinute * 60 + nSecond);
}

// KB234067 (how to prevent caching in Internet Explorer): Cache-Control
// no-cache, and Expires -1 (already expired); RFC 7234 5.3: an Expires that is
// no valid date is in the past, and a max-age wins over Expires.
std::string CResponseHeaders::CachingAllowed(std::time_t nNow) const {
    long nMaxAge = -1;
    for (const auto& directive : Directives(Value("Cache-Control"))) {
        // no-cache="field" only keeps those fields out of the cache.
        if (directive.first == "no-store" ||
            (directive.first == "no-cache" && directive.second.empty()))
            return std::string();
        if (directive.first == "max-age" && !directive.second.empty() &&
            directive.second.find_first_not_of("0123456789") == std::string::npos)
            nMaxAge = std::strtol(directive.second.c_str(), nullptr, 10);
    }
    if (nMaxAge == 0)
        return std::string();
    if (nMaxAge > 0)
        return "Cache-Control: max-age=" + std::to_string(nMaxAge) +
               " lets the control answer from its cache for that long";
    if (Has("Expires")) {
        const std::time_t nExpires = ParseDate(Value("Expires"));
        const std::time_t nDate = Has("Date") ? ParseDate(Value("Date")) : nNow;
        if (nExpires < 0 || nExpires <= (nDate < 0 ? nNow : nDate))
            return std::string();
        return "Expires: " + Value("Expires") +
               " lets the control answer from its cache until then";
    }
    if (Lower(Value("Pragma")).find("no-cache") != std::string::npos)
        return "Pragma: no-cache alone does not keep an answer out of the cache (it has no "
               "meaning in an answer, RFC 7234 5.4)";
    return "no Cache-Control: no-cache or no-store and no Expires in the past: the control may "
           "keep the page and answer a later request from its cache";
}
