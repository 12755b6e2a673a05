// A file planted beside the wizard under a system program's or DLL's name:
// when started or loaded it leaves "<its own path>.ran" naming the process
// it ran in, and does nothing else. Built as a program and as a DLL.
#include <windows.h>

namespace {
void RecordRun(HMODULE hModule) {
    char self[MAX_PATH] = {};
    char process[MAX_PATH] = {};
    ::GetModuleFileNameA(hModule, self, MAX_PATH - 8);
    ::GetModuleFileNameA(nullptr, process, MAX_PATH);
    lstrcatA(self, ".ran");
    HANDLE hFile = ::CreateFileA(self, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    DWORD dwWritten = 0;
    ::WriteFile(hFile, process, lstrlenA(process), &dwWritten, nullptr);
    ::CloseHandle(hFile);
}
} // namespace

#ifdef QEL_PLANTED_DLL
BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH)
        RecordRun(hInstance);
    return TRUE;
}
#else
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RecordRun(nullptr);
    return 0;
}
#endif
