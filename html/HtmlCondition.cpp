#include "html/HtmlCondition.h"

#include "html/HtmlText.h"

#include <cwchar>
#include <cwctype>

using HtmlText::IsBlank;
using HtmlText::OneOf;

CHtmlCondition::CHtmlCondition(const std::wstring& str, int nVersion)
    : m_str(HtmlText::Lower(str)), m_nVersion(nVersion) {}

void CHtmlCondition::Skip() {
    while (m_i < m_str.size() && IsBlank(m_str[m_i]))
        ++m_i;
}

bool CHtmlCondition::Take(const wchar_t* psz) {
    Skip();
    const size_t n = std::wcslen(psz);
    if (m_str.compare(m_i, n, psz) != 0)
        return false;
    m_i += n;
    return true;
}

bool CHtmlCondition::Or() {
    bool b = And();
    while (Take(L"|"))
        b = And() || b;
    return b;
}

bool CHtmlCondition::And() {
    bool b = Factor();
    while (Take(L"&"))
        b = Factor() && b;
    return b;
}

bool CHtmlCondition::Factor() {
    if (Take(L"!"))
        return !Factor();
    if (Take(L"(")) {
        const bool b = Or();
        Take(L")");
        return b;
    }
    int nOp = 0; // 0 ==, 1 <, 2 <=, 3 >, 4 >=
    if (Take(L"lte "))
        nOp = 2;
    else if (Take(L"lt "))
        nOp = 1;
    else if (Take(L"gte "))
        nOp = 4;
    else if (Take(L"gt "))
        nOp = 3;
    if (!Take(L"ie")) {
        while (m_i < m_str.size() && !OneOf(std::wstring(1, m_str[m_i]), {L"&", L"|", L")"}))
            ++m_i;
        return false; // a feature other than IE
    }
    Skip();
    int nWanted = 0;
    bool bVersion = false;
    while (m_i < m_str.size() && std::iswdigit(m_str[m_i]))
        nWanted = nWanted * 10 + (m_str[m_i++] - L'0'), bVersion = true;
    while (m_i < m_str.size() && (std::iswdigit(m_str[m_i]) || m_str[m_i] == L'.'))
        ++m_i;
    if (!bVersion)
        return true;
    switch (nOp) {
    case 1:
        return m_nVersion < nWanted;
    case 2:
        return m_nVersion <= nWanted;
    case 3:
        return m_nVersion > nWanted;
    case 4:
        return m_nVersion >= nWanted;
    default:
        return m_nVersion == nWanted;
    }
}
