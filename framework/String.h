// CString: 8-bit text in the system code page (949), with the class library's
// clamping rules. Positions and lengths count bytes; searches and case changes
// step over code-page-949 double-byte characters whole.
#pragma once

#include "framework/WinTypes.h"

#include <string>

class CString {
public:
    CString() = default;
    CString(LPCTSTR text);
    CString(LPCTSTR text, int count);
    CString(TCHAR ch, int repeat = 1);
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCTSTR text);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    TCHAR GetAt(int index) const { return m_str[static_cast<size_t>(index)]; }
    operator LPCTSTR() const { return m_str.c_str(); }
    LPCTSTR GetString() const { return m_str.c_str(); }

    // Position of the first occurrence at or after start, or -1. A start
    // outside 0..length finds nothing.
    int Find(LPCTSTR sub, int start = 0) const;
    int Find(TCHAR ch, int start = 0) const;

    // count bytes from first; first < 0 counts as 0, count < 0 as 0, and
    // both are clamped to the text.
    CString Mid(int first, int count) const;
    CString Mid(int first) const;
    CString Left(int count) const;
    CString Right(int count) const;

    CString& MakeLower();
    CString& MakeUpper();

    int Compare(LPCTSTR other) const;

    // Loads a string resource of the program's module; FALSE (and empty
    // text) when there is none.
    BOOL LoadString(UINT id);

    // Writable buffer of at least minLength bytes plus the terminator;
    // ReleaseBuffer(-1) takes the length up to the first zero byte.
    LPTSTR GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

    CString& operator+=(const CString& other);
    CString& operator+=(LPCTSTR text);
    CString& operator+=(TCHAR ch);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCTSTR b);
    friend CString operator+(LPCTSTR a, const CString& b);
    friend CString operator+(const CString& a, TCHAR b);

    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, LPCTSTR b) { return !(a == b); }
    friend bool operator!=(LPCTSTR a, const CString& b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

private:
    std::string m_str;
};

// TRUE when byte c opens a code-page-949 double-byte character.
inline bool IsLeadByte949(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
