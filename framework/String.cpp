#include "framework/String.h"

#include <cstring>

CString::CString(LPCTSTR text) : m_str(text ? text : "") {}

CString::CString(LPCTSTR text, int count) {
    if (text && count > 0)
        m_str.assign(text, static_cast<size_t>(count));
}

CString::CString(TCHAR ch, int repeat) {
    if (repeat > 0)
        m_str.assign(static_cast<size_t>(repeat), ch);
}

CString& CString::operator=(LPCTSTR text) {
    m_str = text ? text : "";
    return *this;
}

int CString::Find(LPCTSTR sub, int start) const {
    const int length = GetLength();
    if (!sub || start < 0 || start > length)
        return -1;
    const int subLength = static_cast<int>(std::strlen(sub));
    // The scan starts at start and steps a character at a time, so a match
    // never begins on the trail byte of a double-byte character.
    for (int i = start; i + subLength <= length;) {
        if (m_str.compare(static_cast<size_t>(i), static_cast<size_t>(subLength), sub) == 0)
            return i;
        const bool dbcs = IsLeadByte949(static_cast<unsigned char>(m_str[static_cast<size_t>(i)]));
        i += (dbcs && i + 1 < length) ? 2 : 1;
    }
    return -1;
}

int CString::Find(TCHAR ch, int start) const {
    const char sub[2] = {ch, 0};
    return Find(sub, start);
}

CString CString::Mid(int first, int count) const {
    const int length = GetLength();
    if (first < 0)
        first = 0;
    if (count < 0)
        count = 0;
    if (first > length)
        return CString();
    if (count > length - first)
        count = length - first;
    return CString(m_str.data() + first, count);
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Left(int count) const {
    return Mid(0, count);
}

CString CString::Right(int count) const {
    if (count < 0)
        count = 0;
    if (count > GetLength())
        count = GetLength();
    return Mid(GetLength() - count, count);
}

namespace {
template <typename Change> void ChangeSingleBytes(std::string& text, Change change) {
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte949(c) && i + 1 < text.size())
            ++i; // the trail byte of a double-byte character stays as it is
        else
            text[i] = static_cast<char>(change(c));
    }
}
} // namespace

CString& CString::MakeLower() {
    ChangeSingleBytes(m_str, [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
    return *this;
}

CString& CString::MakeUpper() {
    ChangeSingleBytes(m_str, [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    return *this;
}

int CString::Compare(LPCTSTR other) const {
    return std::strcmp(m_str.c_str(), other ? other : "");
}

LPTSTR CString::GetBuffer(int minLength) {
    if (minLength > GetLength())
        m_str.resize(static_cast<size_t>(minLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0)
        newLength = static_cast<int>(std::strlen(m_str.c_str()));
    if (newLength > GetLength())
        newLength = GetLength();
    m_str.resize(static_cast<size_t>(newLength));
}

CString& CString::operator+=(const CString& other) {
    m_str += other.m_str;
    return *this;
}

CString& CString::operator+=(LPCTSTR text) {
    if (text)
        m_str += text;
    return *this;
}

CString& CString::operator+=(TCHAR ch) {
    m_str += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, LPCTSTR b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCTSTR a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, TCHAR b) {
    CString r(a);
    r += b;
    return r;
}
