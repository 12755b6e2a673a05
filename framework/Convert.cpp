#include "framework/Convert.h"

CString AfxW2A(const wchar_t* pszWide, int nChars) {
    if (pszWide == nullptr || nChars == 0)
        return CString();
    const int nBytes =
        ::WideCharToMultiByte(CP_ACP, 0, pszWide, nChars, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return CString();
    CString strAnsi;
    ::WideCharToMultiByte(CP_ACP, 0, pszWide, nChars, strAnsi.GetBuffer(nBytes), nBytes, nullptr,
                          nullptr);
    // With nChars -1 the count includes the terminating zero.
    strAnsi.ReleaseBuffer(nChars < 0 ? nBytes - 1 : nBytes);
    return strAnsi;
}

std::wstring AfxA2W(const char* pszAnsi) {
    if (pszAnsi == nullptr)
        return std::wstring();
    const int nChars = ::MultiByteToWideChar(CP_ACP, 0, pszAnsi, -1, nullptr, 0);
    if (nChars <= 1)
        return std::wstring();
    std::wstring strWide(static_cast<size_t>(nChars), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, pszAnsi, -1, &strWide[0], nChars);
    strWide.resize(static_cast<size_t>(nChars - 1));
    return strWide;
}
