// Started by DllSearchTest from a folder that also holds DLLs planted under
// the names of system DLLs. After the program's own start-up (its WinMain) it
// loads one of them by bare name; its exit code says where each came from:
// 0 both from the system folder, 1 the bare-name load not, 2 COMCTL32 not.
#include "framework/SystemLibrary.h"
#include "framework/WinApp.h"

namespace {
bool FromSystemFolder(HMODULE hModule, LPCTSTR name) {
    char path[MAX_PATH] = {};
    return hModule != nullptr && ::GetModuleFileNameA(hModule, path, MAX_PATH) > 0 &&
           ::lstrcmpiA(path, AfxGetSystemPath(name)) == 0;
}
} // namespace

class CProbeApp : public CWinApp {
public:
    BOOL InitInstance() override {
        HMODULE hDwmApi = ::LoadLibraryA("dwmapi.dll");
        if (!FromSystemFolder(hDwmApi, "dwmapi.dll"))
            m_nResult |= 1;
        if (!FromSystemFolder(::GetModuleHandleA("comctl32.dll"), "comctl32.dll"))
            m_nResult |= 2;
        if (hDwmApi != nullptr)
            ::FreeLibrary(hDwmApi);
        return FALSE;
    }
    int ExitInstance() override { return m_nResult; }

private:
    int m_nResult = 0;
};

CProbeApp theApp;
