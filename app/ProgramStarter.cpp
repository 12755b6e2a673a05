#include "app/ProgramStarter.h"

#include "framework/SystemLibrary.h"

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

namespace {
const LPCTSTR APP_PATHS_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

BOOL IsExistingFile(const CString& path) {
    // Only a full path: a bare name would be searched for again.
    const bool bFull = path.GetLength() > 2 &&
                       ((path.GetAt(1) == ':' && path.GetAt(2) == '\\') || path.Left(2) == "\\\\");
    const DWORD dwAttributes = bFull ? ::GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The default value of the file's App Paths key (expanded, unquoted), or empty.
CString RegisteredPath(LPCTSTR file) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, CString(APP_PATHS_KEY) + file, 0, KEY_QUERY_VALUE,
                        &hKey) != ERROR_SUCCESS)
        return CString();
    char value[MAX_PATH + 1] = {};
    DWORD cbValue = MAX_PATH;
    DWORD dwType = 0;
    const LONG lResult = ::RegQueryValueExA(hKey, nullptr, nullptr, &dwType,
                                            reinterpret_cast<LPBYTE>(value), &cbValue);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return CString();
    CString strPath(value);
    if (dwType == REG_EXPAND_SZ) {
        char expanded[MAX_PATH + 1] = {};
        const DWORD nLength = ::ExpandEnvironmentStringsA(value, expanded, MAX_PATH);
        strPath = nLength > 0 && nLength <= MAX_PATH ? CString(expanded) : CString();
    }
    if (strPath.GetLength() >= 2 && strPath.GetAt(0) == '"' &&
        strPath.GetAt(strPath.GetLength() - 1) == '"')
        strPath = strPath.Mid(1, strPath.GetLength() - 2);
    return strPath;
}
} // namespace

BOOL CProgramStarter::RunHidden(LPCTSTR commandLine, HANDLE* phProcess) {
    CString strProgram(commandLine);
    const int nSpace = strProgram.Find(' ');
    if (nSpace >= 0)
        strProgram = strProgram.Left(nSpace);
    if (::lstrcmpiA(strProgram.Right(4), ".exe") != 0)
        strProgram += ".exe";
    const CString strPath = AfxGetSystemPath(strProgram);
    if (strPath.IsEmpty())
        return FALSE;

    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    std::vector<char> cmd(commandLine, commandLine + ::lstrlenA(commandLine) + 1);
    const CString strFolder = AfxGetSystemFolder();
    if (!::CreateProcessA(strPath, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, strFolder, &si,
                          &pi))
        return FALSE;
    ::CloseHandle(pi.hThread);
    if (phProcess != nullptr)
        *phProcess = pi.hProcess;
    else
        ::CloseHandle(pi.hProcess);
    return TRUE;
}

BOOL CProgramStarter::ShellOpenHidden(LPCTSTR file, LPCTSTR parameters) {
    const CString strPath = FindBrowser(file);
    if (strPath.IsEmpty())
        return FALSE;
    const CString strFolder = AfxGetSystemFolder();
    HINSTANCE hResult =
        ::ShellExecuteA(nullptr, "open", strPath, parameters,
                        strFolder.IsEmpty() ? nullptr : strFolder.GetString(), SW_HIDE);
    return reinterpret_cast<INT_PTR>(hResult) > 32;
}

CString CProgramStarter::FindBrowser(LPCTSTR file) {
    CString strPath = RegisteredPath(file);
    if (IsExistingFile(strPath))
        return strPath;
    char programFiles[MAX_PATH] = {};
    if (::SHGetSpecialFolderPathA(nullptr, programFiles, CSIDL_PROGRAM_FILES, FALSE)) {
        strPath = CString(programFiles) + "\\Internet Explorer\\" + file;
        if (IsExistingFile(strPath))
            return strPath;
    }
    return CString();
}
