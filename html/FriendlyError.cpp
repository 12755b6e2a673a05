#include "html/FriendlyError.h"

// The defaults of IE's ErrorThresholds (IEInternals, "Friendly HTTP Error
// Pages"): only these statuses have friendly pages, shown when the body is at
// most the threshold long (KB294807: "less than or equal to").
size_t CFriendlyError::Threshold(unsigned long nStatus) {
    switch (nStatus) {
    case 403:
    case 405:
    case 410:
        return 256;
    case 400:
    case 404:
    case 406:
    case 408:
    case 409:
    case 500:
    case 501:
    case 505:
        return 512;
    default:
        return 0;
    }
}

bool CFriendlyError::ReplacesAnswer(unsigned long nStatus, size_t nBytes) {
    const size_t nThreshold = Threshold(nStatus);
    return nThreshold > 0 && nBytes <= nThreshold;
}

std::wstring CFriendlyError::ErrorAddress(const std::wstring& strUrl, unsigned long nStatus) {
    const wchar_t* pszPage = nStatus == 404   ? L"http_404.htm"
                             : nStatus >= 500 ? L"http_500.htm"
                             : nStatus        ? L"http_gen.htm"
                                              : L"dnserrordiagoff.htm";
    return std::wstring(L"res://ieframe.dll/") + pszPage + L"#" + strUrl;
}
