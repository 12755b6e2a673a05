// Times two programs' start-up inside Wine, alternately: from CreateProcess to
// the first visible top-level window of the started process with the wizard's
// title; the process is then terminated and waited for.
//   qel_budget_timer.exe ROUNDS PROGRAM_A PROGRAM_B
// Prints each start's milliseconds, then "medians A B" and "range A LO HI" /
// "range B LO HI". Exits non-zero when a program shows no such window in time.
#include "testbed/budget/WindowTitle.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const DWORD kShowTimeoutMs = 30000;
const DWORD kEndTimeoutMs = 10000;

bool IsShown(DWORD dwProcessId) {
    HWND hWnd = nullptr;
    while ((hWnd = ::FindWindowExW(nullptr, hWnd, nullptr, QEL_WIZARD_TITLE)) != nullptr) {
        DWORD dwOwner = 0;
        ::GetWindowThreadProcessId(hWnd, &dwOwner);
        if (dwOwner == dwProcessId && ::IsWindowVisible(hWnd))
            return true;
    }
    return false;
}

bool WaitShown(const PROCESS_INFORMATION& pi) {
    const ULONGLONG end = ::GetTickCount64() + kShowTimeoutMs;
    while (!IsShown(pi.dwProcessId)) {
        if (::GetTickCount64() > end || ::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
            return false;
        ::Sleep(1);
    }
    return true;
}

// Milliseconds to the window, or a negative number when it never showed or
// the program would not end.
double TimeStart(const std::wstring& program) {
    std::wstring cmdLine = L"\"" + program + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER freq, t0, t1;
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&t0);
    if (!::CreateProcessW(program.c_str(), &cmdLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &si, &pi))
        return -1;
    const bool bShown = WaitShown(pi);
    ::QueryPerformanceCounter(&t1);
    ::TerminateProcess(pi.hProcess, 0);
    const bool bEnded = ::WaitForSingleObject(pi.hProcess, kEndTimeoutMs) == WAIT_OBJECT_0;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    if (!bEnded)
        fprintf(stderr, "a started program did not end\n");
    return bShown && bEnded ? 1000.0 * (t1.QuadPart - t0.QuadPart) / freq.QuadPart : -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void PrintRange(const char* name, const std::vector<double>& v) {
    const auto mm = std::minmax_element(v.begin(), v.end());
    printf("range %s %.1f %.1f\n", name, *mm.first, *mm.second);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 || _wtoi(argv[1]) < 1) {
        fprintf(stderr, "usage: qel_budget_timer ROUNDS PROGRAM_A PROGRAM_B\n");
        return 2;
    }
    const int rounds = _wtoi(argv[1]);
    const std::wstring programs[2] = {argv[2], argv[3]};
    const char* names[2] = {"A", "B"};
    std::vector<double> times[2];
    // One untimed start each first, then A B, B A, ...: neither gains from order.
    for (int i = -1; i < rounds; ++i) {
        for (int k = 0; k < 2; ++k) {
            const int p = (i % 2 == 0) ? 1 - k : k;
            const double ms = TimeStart(programs[p]);
            if (ms < 0) {
                fprintf(stderr, "%s (%ls): no visible window with the wizard's title\n", names[p],
                        programs[p].c_str());
                return 1;
            }
            if (i >= 0) {
                times[p].push_back(ms);
                printf("%s %.1f\n", names[p], ms);
            }
        }
    }
    printf("medians %.1f %.1f\n", Median(times[0]), Median(times[1]));
    PrintRange(names[0], times[0]);
    PrintRange(names[1], times[1]);
    return 0;
}
