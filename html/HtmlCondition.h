// A conditional comment's condition (IE, !IE, lt/lte/gt/gte IE n, &, |,
// parentheses) against the document mode.
#pragma once
#include <string>

class CHtmlCondition {
public:
    CHtmlCondition(const std::wstring& str, int nVersion);
    bool Evaluate() { return Or(); }

private:
    void Skip();
    bool Take(const wchar_t* psz);
    bool Or();
    bool And();
    bool Factor();

    const std::wstring m_str;
    const int m_nVersion;
    size_t m_i = 0;
};
