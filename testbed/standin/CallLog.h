// The stand-in's call log: one line per call and event, appended to the file
// that the environment variable QEL_BROWSER_LOG names (none: no log). Every
// object handed out is counted from its creation to its final release.
#pragma once
#include <windows.h>

#include <string>

class CCallLog {
public:
    static void Write(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
    // A member the stand-in does not implement: logs "unexpected call NAME";
    // answers E_NOTIMPL.
    static HRESULT Unexpected(const char* pszMember);
    // Counts a new object of this kind; returns its id.
    static LONG Created(const char* pszKind);
    static void Destroyed(const char* pszKind, LONG nId);
    static LONG Live();
    static void WriteLive(const char* pszWhen);
    // UTF-8 of a wide string, for log lines.
    static std::string Utf8(const wchar_t* psz);
};
