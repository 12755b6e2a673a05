#include "app/PluginFile.h"

#include "framework/SystemLibrary.h"

#include <vector>

namespace {
typedef DWORD(WINAPI* PFNGETFINALPATHNAMEBYHANDLEW)(HANDLE, LPWSTR, DWORD, DWORD);
typedef BOOL(WINAPI* PFNSETFILEINFORMATIONBYHANDLE)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID,
                                                    DWORD);

struct SHandleCalls {
    PFNGETFINALPATHNAMEBYHANDLEW pfnGetFinalPath;
    PFNSETFILEINFORMATIONBYHANDLE pfnSetInformation;
    bool Present() const { return pfnGetFinalPath != nullptr && pfnSetInformation != nullptr; }
};

const SHandleCalls& HandleCalls() {
    static const SHandleCalls calls = [] {
        HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
        return SHandleCalls{
            ModuleFunction<PFNGETFINALPATHNAMEBYHANDLEW>(hKernel, "GetFinalPathNameByHandleW"),
            ModuleFunction<PFNSETFILEINFORMATIONBYHANDLE>(hKernel, "SetFileInformationByHandle")};
    }();
    return calls;
}

// The handle's final path in the ANSI code page; empty when it cannot be
// told or has a character that code page lacks.
CString FinalPathOf(HANDLE hFile) {
    const PFNGETFINALPATHNAMEBYHANDLEW pfnGetFinalPath = HandleCalls().pfnGetFinalPath;
    std::vector<wchar_t> wide(MAX_PATH + 1);
    DWORD nLength = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        nLength = pfnGetFinalPath(hFile, wide.data(), static_cast<DWORD>(wide.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (nLength < wide.size())
            break;
        wide.resize(nLength + 1);
    }
    if (nLength == 0 || nLength >= wide.size())
        return CString();
    const int cb = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                         static_cast<int>(nLength), nullptr, 0, nullptr, nullptr);
    std::vector<char> narrow(static_cast<size_t>(cb) + 1);
    BOOL bLost = FALSE;
    if (cb <= 0 ||
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(nLength),
                              narrow.data(), cb, nullptr, &bLost) != cb ||
        bLost)
        return CString();
    return CString(narrow.data(), cb);
}
} // namespace

CPluginFile::CPluginFile(HANDLE hFile) : m_hFile(hFile) {
    m_bInfo = ::GetFileInformationByHandle(m_hFile, &m_info);
}

CPluginFile::~CPluginFile() {
    ::CloseHandle(m_hFile);
}

// The name itself is opened (FILE_FLAG_OPEN_REPARSE_POINT), a folder too
// (FILE_FLAG_BACKUP_SEMANTICS), so that it can be told apart and left.
CPluginFile* CPluginFile::Open(LPCTSTR path) {
    if (!HandleCalls().Present())
        return nullptr;
    HANDLE hFile = ::CreateFileA(
        path, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return hFile == INVALID_HANDLE_VALUE ? nullptr : new CPluginFile(hFile);
}

FinalPathResult CPluginFile::GetFinalFolderPath(LPCTSTR folder, CString& finalPath) {
    if (!HandleCalls().Present())
        return FINAL_PATH_UNSUPPORTED;
    HANDLE hFolder = ::CreateFileA(folder, FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFolder == INVALID_HANDLE_VALUE)
        return FINAL_PATH_FAILED;
    finalPath = FinalPathOf(hFolder);
    ::CloseHandle(hFolder);
    return finalPath.IsEmpty() ? FINAL_PATH_FAILED : FINAL_PATH_FOUND;
}

PluginPathKind CPluginFile::GetKind() {
    if (!m_bInfo || (m_info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return PLUGIN_PATH_OTHER;
    return (m_info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PLUGIN_PATH_FOLDER
                                                                : PLUGIN_PATH_FILE;
}

CString CPluginFile::GetFinalPath() {
    return FinalPathOf(m_hFile);
}

DWORD CPluginFile::GetLinkCount() {
    return m_bInfo ? m_info.nNumberOfLinks : 0;
}

DWORD CPluginFile::GetAttributes() {
    return m_bInfo ? m_info.dwFileAttributes : 0;
}

// Times of zero are left as they are.
BOOL CPluginFile::SetAttributes(DWORD dwAttributes) {
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = dwAttributes;
    return HandleCalls().pfnSetInformation(m_hFile, FileBasicInfo, &basic, sizeof(basic));
}

BOOL CPluginFile::Delete() {
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    return HandleCalls().pfnSetInformation(m_hFile, FileDispositionInfo, &disposition,
                                           sizeof(disposition));
}
