#include "testbed/standin/CallLog.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace {

std::mutex g_mutex;
LONG g_nLive = 0;
LONG g_nNextId = 0;

} // namespace

void CCallLog::Write(const char* pszFormat, ...) {
    char szPath[MAX_PATH];
    const DWORD nPath = GetEnvironmentVariableA("QEL_BROWSER_LOG", szPath, sizeof szPath);
    if (nPath == 0 || nPath >= sizeof szPath)
        return;
    char szLine[1024];
    const int nPrefix = std::snprintf(szLine, sizeof szLine, "[%lu] ", GetCurrentThreadId());
    va_list args;
    va_start(args, pszFormat);
    int nText = std::vsnprintf(szLine + nPrefix, sizeof szLine - nPrefix - 1, pszFormat, args);
    va_end(args);
    if (nText < 0)
        nText = 0;
    int nLength = nPrefix + nText;
    if (nLength > static_cast<int>(sizeof szLine) - 2)
        nLength = sizeof szLine - 2;
    szLine[nLength++] = '\n';
    std::lock_guard<std::mutex> lock(g_mutex);
    HANDLE hFile = CreateFileA(szPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    DWORD nWritten = 0;
    WriteFile(hFile, szLine, static_cast<DWORD>(nLength), &nWritten, nullptr);
    CloseHandle(hFile);
}

HRESULT CCallLog::Unexpected(const char* pszMember) {
    Write("unexpected call %s", pszMember);
    return E_NOTIMPL;
}

LONG CCallLog::Created(const char* pszKind) {
    const LONG nId = InterlockedIncrement(&g_nNextId);
    InterlockedIncrement(&g_nLive);
    Write("new %s#%ld", pszKind, nId);
    return nId;
}

void CCallLog::Destroyed(const char* pszKind, LONG nId) {
    InterlockedDecrement(&g_nLive);
    Write("free %s#%ld", pszKind, nId);
}

LONG CCallLog::Live() {
    return InterlockedCompareExchange(&g_nLive, 0, 0);
}

void CCallLog::WriteLive(const char* pszWhen) {
    Write("live %ld (%s)", Live(), pszWhen);
}

std::string CCallLog::Utf8(const wchar_t* psz) {
    if (!psz || !*psz)
        return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, psz, -1, nullptr, 0, nullptr, nullptr);
    std::string str(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, psz, -1, &str[0], n, nullptr, nullptr);
    return str;
}
