// Files planted in the program's folder or the current folder under the names
// of system programs and DLLs are never what the program starts or loads.
#include "app/ProgramStarter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\'));
}

// tests/planted's program or DLL, which records that it ran beside itself.
std::string Planted(const char* name) {
    return ExeFolder() + "\\..\\planted\\" + name;
}

// A folder of its own under the temporary folder, removed with all it holds.
class CScratchFolder {
public:
    explicit CScratchFolder(const char* name) {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_strPath = std::string(temp) + name;
        Remove();
        ::CreateDirectoryA(m_strPath.c_str(), nullptr);
    }
    ~CScratchFolder() { Remove(); }

    std::string Path(const std::string& name) const { return m_strPath + "\\" + name; }
    const std::string& Path() const { return m_strPath; }
    bool Copy(const std::string& from, const std::string& name) const {
        return ::CopyFileA(from.c_str(), Path(name).c_str(), FALSE) != FALSE;
    }
    bool Has(const std::string& name) const {
        return ::GetFileAttributesA(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    void Remove() const {
        WIN32_FIND_DATAA fd;
        HANDLE hFind = ::FindFirstFileA(Path("*").c_str(), &fd);
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                ::DeleteFileA(Path(fd.cFileName).c_str());
            } while (::FindNextFileA(hFind, &fd));
            ::FindClose(hFind);
        }
        ::RemoveDirectoryA(m_strPath.c_str());
    }

    std::string m_strPath;
};

// Runs the program with WINEDLLOVERRIDES set as given; its exit code, or -1.
int RunWithOverrides(const std::string& exe, const char* overrides) {
    char saved[512] = {};
    const bool bSaved = ::GetEnvironmentVariableA("WINEDLLOVERRIDES", saved, sizeof(saved)) > 0;
    ::SetEnvironmentVariableA("WINEDLLOVERRIDES", overrides);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const BOOL bStarted = ::CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0,
                                           nullptr, nullptr, &si, &pi);
    ::SetEnvironmentVariableA("WINEDLLOVERRIDES", bSaved ? saved : nullptr);
    if (!bStarted)
        return -1;
    DWORD dwExit = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(pi.hProcess, &dwExit);
    else
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return static_cast<int>(dwExit);
}

} // namespace

TEST(PlantedFilesTest, AfterStartUpDllsComeFromTheSystemFolderOnly) {
    CScratchFolder folder("qel-planted-dlls");
    ASSERT_TRUE(folder.Copy(ExeFolder() + "\\qel_dll_search_probe.exe", "probe.exe"));
    ASSERT_TRUE(folder.Copy(Planted("qel_planted_library.dll"), "dwmapi.dll"));
    ASSERT_TRUE(folder.Copy(Planted("qel_planted_library.dll"), "comctl32.dll"));
    // Wine takes a file it finds beside a program over its own DLL only when
    // told to; Windows always does.
    EXPECT_EQ(0, RunWithOverrides(folder.Path("probe.exe"), "comctl32,dwmapi=n,b"));
    EXPECT_FALSE(folder.Has("dwmapi.dll.ran"));
    EXPECT_FALSE(folder.Has("comctl32.dll.ran"));
}

TEST(PlantedFilesTest, BrowserIsTakenWhereItIsInstalledOrNotAtAll) {
    CScratchFolder folder("qel-planted-browser");
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    ::SetCurrentDirectoryA(folder.Path().c_str());
    ASSERT_TRUE(folder.Copy(Planted("qel_planted_program.exe"), "qel-unregistered.exe"));

    const std::string browser(CProgramStarter::FindBrowser("iexplore.exe"));
    const std::string unregistered(CProgramStarter::FindBrowser("qel-unregistered.exe"));
    ::SetCurrentDirectoryA(current);

    const std::string tail = "\\internet explorer\\iexplore.exe";
    ASSERT_GT(browser.size(), tail.size());
    EXPECT_EQ(0, ::lstrcmpiA(browser.c_str() + browser.size() - tail.size(), tail.c_str()))
        << browser;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(browser.c_str())) << browser;
    EXPECT_EQ("", unregistered);
}
