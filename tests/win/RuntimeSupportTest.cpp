// The program's own runtime support, linked into this exe as into the
// program: the stack guard (app/StackGuard.cpp) and, in the 32-bit build, the
// GetTickCount64 import slot (app/TickCount64.cpp).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

extern "C" uintptr_t __stack_chk_guard;

namespace {

// A constructor of ordinary priority, with a buffer of its own (so it checks
// the guard): it must see the seeded guard, the one every later frame checks.
struct CGuardWitness {
    CGuardWitness() {
        char buf[16];
        ::lstrcpynA(buf, "seen", sizeof(buf));
        m_nGuard = buf[0] == 's' ? __stack_chk_guard : 0;
    }
    uintptr_t m_nGuard;
} g_witness;

DWORD RunSmash(const char* pszArgs) {
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = exe;
    command = "\"" + command.substr(0, command.rfind('\\')) + "\\qel_stack_smash.exe\"" + pszArgs;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &si, &pi))
        return 0xFFFFFFFF;
    DWORD dwCode = 0xFFFFFFFF;
    if (::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(pi.hProcess, &dwCode);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return dwCode;
}

} // namespace

TEST(StackGuardTest, SeededBeforeEveryOtherConstructor) {
    EXPECT_NE(0x2B992DDFu, __stack_chk_guard); // the value before seeding
    EXPECT_EQ(g_witness.m_nGuard, __stack_chk_guard);
}

TEST(StackGuardTest, AnOverrunEndsTheProcessBeforeItsFrameReturns) {
    EXPECT_EQ(0u, RunSmash(""));
    EXPECT_EQ(0xC0000409u, RunSmash(" overrun")); // STATUS_STACK_BUFFER_OVERRUN
}

#if defined(__i386__)
extern "C" ULONGLONG(WINAPI* g_pfnTickCountSlot)() __asm__("__imp__GetTickCount64@0");

TEST(TickCount64SlotTest, HoldsTheSystemFunctionAfterACall) {
    const ULONGLONG nCount = ::GetTickCount64(); // through the slot
    const DWORD dwCount = ::GetTickCount();
    FARPROC pfnSystem = ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetTickCount64");
    ASSERT_NE(nullptr, pfnSystem);
    EXPECT_EQ(reinterpret_cast<void (*)()>(pfnSystem),
              reinterpret_cast<void (*)()>(g_pfnTickCountSlot));
    EXPECT_LE(dwCount - static_cast<DWORD>(nCount), 1000u);
}
#endif
