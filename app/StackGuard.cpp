// The stack protector's guard and failure call for the program, in place of
// the compiler's support library: that one seeds the guard through
// CryptAcquireContextA before WinMain, which loads a cryptographic provider
// DLL before the DLL search is restricted to the system folder. This guard is
// seeded as the system's own C runtime seeds its security cookie, from clocks
// and ids, loading nothing; a smashed stack ends the process at once.
#include <windows.h>

#include <cstdint>

extern "C" {

uintptr_t __stack_chk_guard = 0x2B992DDF;

[[noreturn]] void __stack_chk_fail() {
    ::TerminateProcess(::GetCurrentProcess(), 0xC0000409 /* STATUS_STACK_BUFFER_OVERRUN */);
    for (;;)
        ::Sleep(INFINITE);
}
}

namespace {

// Before every other constructor: no protected frame that could check the
// guard is live yet (the start-up code is built without the protector), and
// this one has no canary of its own to check against the new guard.
__attribute__((constructor(101), no_stack_protector)) void SeedStackGuard() {
    FILETIME ft;
    ::GetSystemTimeAsFileTime(&ft);
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    uint64_t seed = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    seed ^= static_cast<uint64_t>(counter.QuadPart) << 7;
    seed ^= static_cast<uint64_t>(::GetCurrentProcessId()) << 32 | ::GetCurrentThreadId();
    seed ^= ::GetTickCount();
    seed ^= reinterpret_cast<uintptr_t>(&ft); // the stack's place, with ASLR
    // Spread every input bit over the whole guard (the SplitMix64 finaliser).
    seed += 0x9E3779B97F4A7C15ull;
    seed = (seed ^ (seed >> 30)) * 0xBF58476D1CE4E5B9ull;
    seed = (seed ^ (seed >> 27)) * 0x94D049BB133111EBull;
    seed ^= seed >> 31;
    uintptr_t guard = static_cast<uintptr_t>(seed);
    if (guard == 0)
        guard = 0x2B992DDF;
    __stack_chk_guard = guard;
}

} // namespace
