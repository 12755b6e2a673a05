#include "html/HtmlReferences.h"

#include <cwctype>

std::wstring CHtmlReferences::Decode(const std::wstring& str) {
    static const struct {
        const wchar_t* pszName;
        wchar_t c;
    } kNamed[] = {{L"amp", L'&'},   {L"lt", L'<'},     {L"gt", L'>'},     {L"quot", L'"'},
                  {L"apos", L'\''}, {L"nbsp", 0x00A0}, {L"copy", 0x00A9}, {L"reg", 0x00AE}};
    std::wstring strOut;
    size_t i = 0;
    while (i < str.size()) {
        const size_t nAmp = str.find(L'&', i);
        if (nAmp == std::wstring::npos)
            break;
        strOut.append(str, i, nAmp - i);
        i = nAmp + 1;
        const size_t nSemi = str.find(L';', i);
        bool bDone = false;
        if (i < str.size() && str[i] == L'#') {
            const bool bHex = i + 1 < str.size() && (str[i + 1] == L'x' || str[i + 1] == L'X');
            size_t j = i + (bHex ? 2 : 1);
            unsigned long n = 0;
            const size_t nDigits = j;
            for (; j < str.size() && n < 0x110000; ++j) {
                const wchar_t c = static_cast<wchar_t>(std::towlower(str[j]));
                if (std::iswdigit(c))
                    n = n * (bHex ? 16 : 10) + (c - L'0');
                else if (bHex && c >= L'a' && c <= L'f')
                    n = n * 16 + (c - L'a' + 10);
                else
                    break;
            }
            if (j > nDigits && n > 0 && n < 0x10000) {
                strOut += static_cast<wchar_t>(n);
                i = j < str.size() && str[j] == L';' ? j + 1 : j;
                bDone = true;
            }
        } else if (nSemi != std::wstring::npos) {
            for (const auto& named : kNamed) {
                if (str.compare(i, nSemi - i, named.pszName) == 0) {
                    strOut += named.c;
                    i = nSemi + 1;
                    bDone = true;
                    break;
                }
            }
        }
        if (!bDone)
            strOut += L'&';
    }
    strOut.append(str, i, std::wstring::npos);
    return strOut;
}
