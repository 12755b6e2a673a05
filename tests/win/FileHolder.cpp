#include "tests/win/FileHolder.h"

CFileHolder::CFileHolder(const std::string& path) {
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = exe;
    command =
        "\"" + command.substr(0, command.rfind('\\')) + "\\qel_hold_file.exe\" \"" + path + "\"";
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE hOutput = nullptr, hChildOutput = nullptr, hChildInput = nullptr;
    ::CreatePipe(&hOutput, &hChildOutput, &sa, 0);
    ::CreatePipe(&hChildInput, &m_hInput, &sa, 0);
    ::SetHandleInformation(hOutput, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(m_hInput, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = hChildInput;
    si.hStdOutput = si.hStdError = hChildOutput;
    m_bStarted = ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                  nullptr, nullptr, &si, &m_pi) != FALSE;
    ::CloseHandle(hChildInput);
    ::CloseHandle(hChildOutput);
    std::string said;
    char ch = 0;
    DWORD dwRead = 0;
    while (m_bStarted && ::ReadFile(hOutput, &ch, 1, &dwRead, nullptr) && dwRead == 1 && ch != '\n')
        said += ch;
    ::CloseHandle(hOutput);
    m_bHeld = said == "held";
}

CFileHolder::~CFileHolder() {
    ::CloseHandle(m_hInput);
    if (!m_bStarted)
        return;
    ::WaitForSingleObject(m_pi.hProcess, 10000);
    ::CloseHandle(m_pi.hProcess);
    ::CloseHandle(m_pi.hThread);
}
