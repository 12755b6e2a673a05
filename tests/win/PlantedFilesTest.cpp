// Files planted in the program's folder or the current folder under the names
// of system programs and DLLs are never what the program starts or loads.
#include "app/ProgramStarter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string Beside(const char* name) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + name;
}

// A fresh folder under the temporary folder holding copies of the given
// files (from, name), tests/planted's as "planted\..."; removed with all it holds.
class CScratchFolder {
public:
    CScratchFolder(const char* name,
                   std::initializer_list<std::pair<const char*, const char*>> files) {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_strPath = std::string(temp) + name + "\\";
        Remove();
        ::CreateDirectoryA(m_strPath.c_str(), nullptr);
        for (const auto& file : files)
            ::CopyFileA(Beside(file.first).c_str(), (m_strPath + file.second).c_str(), FALSE);
    }
    ~CScratchFolder() { Remove(); }

    std::string Path(const char* name = "") const { return m_strPath + name; }
    bool Has(const char* name) const {
        return ::GetFileAttributesA(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    void Remove() const {
        WIN32_FIND_DATAA fd;
        HANDLE hFind = ::FindFirstFileA(Path("*").c_str(), &fd);
        for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = ::FindNextFileA(hFind, &fd))
            ::DeleteFileA(Path(fd.cFileName).c_str());
        if (hFind != INVALID_HANDLE_VALUE)
            ::FindClose(hFind);
        ::RemoveDirectoryA(m_strPath.c_str());
    }

    std::string m_strPath;
};

} // namespace

TEST(PlantedFilesTest, AfterStartUpDllsComeFromTheSystemFolderOnly) {
    CScratchFolder folder("qel-planted-dlls",
                          {{"qel_dll_search_probe.exe", "probe.exe"},
                           {"..\\planted\\qel_planted_library.dll", "dwmapi.dll"},
                           {"..\\planted\\qel_planted_library.dll", "comctl32.dll"}});
    // Wine takes a file it finds beside a program over its own DLL only when
    // told to (the child inherits this); Windows always does.
    ::SetEnvironmentVariableA("WINEDLLOVERRIDES", "comctl32,dwmapi=n,b");
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const BOOL bStarted = ::CreateProcessA(folder.Path("probe.exe").c_str(), nullptr, nullptr,
                                           nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    ::SetEnvironmentVariableA("WINEDLLOVERRIDES", nullptr);
    ASSERT_TRUE(bStarted);
    DWORD dwExit = static_cast<DWORD>(-1);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(pi.hProcess, 60000));
    ::GetExitCodeProcess(pi.hProcess, &dwExit);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);

    EXPECT_EQ(0u, dwExit); // 1: dwmapi.dll, 2: COMCTL32 not the system folder's
    EXPECT_FALSE(folder.Has("dwmapi.dll.ran"));
    EXPECT_FALSE(folder.Has("comctl32.dll.ran"));
}

TEST(PlantedFilesTest, BrowserIsTakenWhereItIsInstalledOrNotAtAll) {
    CScratchFolder folder("qel-planted-browser",
                          {{"..\\planted\\qel_planted_program.exe", "qel-unregistered.exe"}});
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    ::SetCurrentDirectoryA(folder.Path().c_str());
    const std::string browser(CProgramStarter::FindBrowser("iexplore.exe"));
    const std::string unregistered(CProgramStarter::FindBrowser("qel-unregistered.exe"));
    ::SetCurrentDirectoryA(current);

    const std::string tail = "\\internet explorer\\iexplore.exe";
    ASSERT_GT(browser.size(), tail.size());
    EXPECT_EQ(0, ::lstrcmpiA(browser.c_str() + browser.size() - tail.size(), tail.c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(browser.c_str())) << browser;
    EXPECT_EQ("", unregistered);
}

// A program the wizard starts works in the system folder, whatever the
// wizard's current folder holds.
TEST(PlantedFilesTest, ProgramsStartInTheSystemFolder) {
    CScratchFolder folder("qel-planted-cwd", {});
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    ::SetCurrentDirectoryA(folder.Path().c_str());
    const std::string out = folder.Path("cwd.txt");
    HANDLE hProcess = nullptr;
    const BOOL bStarted =
        CProgramStarter::RunHidden(("cmd /c cd > \"" + out + "\"").c_str(), &hProcess);
    ::SetCurrentDirectoryA(current);
    ASSERT_TRUE(bStarted);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hProcess, 60000));
    ::CloseHandle(hProcess);

    char said[MAX_PATH] = {};
    HANDLE hFile = ::CreateFileA(out.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD dwRead = 0;
    ::ReadFile(hFile, said, MAX_PATH - 1, &dwRead, nullptr);
    ::CloseHandle(hFile);
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    std::string where(said, dwRead);
    where = where.substr(0, where.find_first_of("\r\n"));
    EXPECT_EQ(0, ::lstrcmpiA(system, where.c_str())) << where;
}
