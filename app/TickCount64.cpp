// The import slot of KERNEL32!GetTickCount64 for the 32-bit program. The thread
// library linked in for the C++ runtime calls it for its timed waits; Windows
// XP lacks it, and a missing import stops the whole exe before it starts.
// Linked as an object, this slot is defined before the import libraries are
// searched, so the exe does not import the function: the first call looks it
// up, and from then on the slot holds the system's own function, as the
// loader would have put there. Where the system has none, a 64-bit count is
// kept over GetTickCount, which wraps every 49.7 days.
#if defined(__i386__)

#include <windows.h>

namespace {

typedef ULONGLONG(WINAPI* PFN_TICKCOUNT64)();

// High half: wraps seen; low half: the last 32-bit count read.
volatile LONGLONG g_nTickState = 0;

ULONGLONG WINAPI TickCount64FromTickCount() {
    for (;;) {
        const LONGLONG nOld = ::InterlockedCompareExchange64(&g_nTickState, 0, 0);
        const DWORD dwNow = ::GetTickCount();
        DWORD dwWraps = static_cast<DWORD>(static_cast<ULONGLONG>(nOld) >> 32);
        if (dwNow < static_cast<DWORD>(nOld))
            ++dwWraps;
        const LONGLONG nNew =
            static_cast<LONGLONG>((static_cast<ULONGLONG>(dwWraps) << 32) | dwNow);
        if (::InterlockedCompareExchange64(&g_nTickState, nNew, nOld) == nOld)
            return static_cast<ULONGLONG>(nNew);
    }
}

ULONGLONG WINAPI ResolveTickCount64();

} // namespace

// The name the thread library's call goes through (an import slot).
extern "C" PFN_TICKCOUNT64 g_pfnTickCount64 __asm__("__imp__GetTickCount64@0");
PFN_TICKCOUNT64 g_pfnTickCount64 = ResolveTickCount64;

namespace {

ULONGLONG WINAPI ResolveTickCount64() {
    PFN_TICKCOUNT64 pfn = TickCount64FromTickCount;
    if (HMODULE hKernel = ::GetModuleHandleA("kernel32.dll")) {
        if (FARPROC proc = ::GetProcAddress(hKernel, "GetTickCount64"))
            pfn = reinterpret_cast<PFN_TICKCOUNT64>(reinterpret_cast<void (*)()>(proc));
    }
    // An aligned pointer store: a racing caller stores the same value.
    g_pfnTickCount64 = pfn;
    return pfn();
}

} // namespace

#endif
