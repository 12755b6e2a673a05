// CFileHolder: another process that holds a file open without delete
// sharing (qel_hold_file.exe beside the tests) while the object lives.
#pragma once

#include <windows.h>

#include <string>

class CFileHolder {
public:
    explicit CFileHolder(const std::string& path);
    ~CFileHolder();
    CFileHolder(const CFileHolder&) = delete;
    CFileHolder& operator=(const CFileHolder&) = delete;
    bool Held() const { return m_bHeld; }

private:
    HANDLE m_hInput = nullptr;
    PROCESS_INFORMATION m_pi = {};
    bool m_bStarted = false;
    bool m_bHeld = false;
};
