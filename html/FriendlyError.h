// When the browser control shows its own ("friendly") error page in place of
// an HTTP error answer, and the address that page completes with. Portable:
// the stand-in browser and pagecheck apply the same rule.
#pragma once
#include <cstddef>
#include <string>

class CFriendlyError {
public:
    // The body length, in bytes, up to which the control replaces an answer
    // with status nStatus by its error page; 0 for a status whose answers it
    // always shows as served.
    static size_t Threshold(unsigned long nStatus);
    // True when the control shows its error page instead of an answer with
    // status nStatus and a body of nBytes bytes.
    static bool ReplacesAnswer(unsigned long nStatus, size_t nBytes);
    // The error page's address: a page of ieframe.dll's resources, the failed
    // address after the '#'. nStatus 0: nothing answered.
    static std::wstring ErrorAddress(const std::wstring& strUrl, unsigned long nStatus);
};
