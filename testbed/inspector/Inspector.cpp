// qel_inspect: reads the wizard's windows from another process and prints
// them as JSON on stdout.
//   qel_inspect [--title-hex UTF8HEX | --title-file FILE | --all] [--post-syscommand N]
//               [--post-timer ID COUNT] [--accessible] [--activate]
// Without an option it looks for the wizard's own title. --post-syscommand
// posts WM_SYSCOMMAND N to each window found before reading them, as a
// system menu item would. --accessible adds each control's accessible role,
// name, description, default action and state, read as an assistive tool
// reads them. Each control says whether it is a tab stop and has the focus.
// --activate brings each window found to the foreground first, as the
// system's task switcher (Alt+Tab) does. --post-timer posts COUNT WM_TIMER
// messages with timer ID to each dialog a window found owns. The windows a
// window owns are listed under it, two levels deep, and every visible
// top-level window of the first one's process under "process_windows".
//   qel_inspect --serve
// reads one set of these options a line from stdin (words without spaces) and
// answers each with its JSON line, until stdin ends: one process for a run's
// many looks.
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "testbed/inspector/AccessibleReader.h"
#include "testbed/inspector/JsonWriter.h"

namespace {

const wchar_t kWizardTitle[] = L"\uB178\uB974\uBCA0\uC778 \uD50C\uB7EC\uADF8\uC778 "
                               L"\uC124\uCE58 \uB9C8\uBC95\uC0AC";

std::string ToUtf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), nullptr, 0, nullptr,
                                nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring Widen(const std::string& text, UINT codePage) {
    int n = MultiByteToWideChar(codePage, 0, text.c_str(), (int)text.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(codePage, 0, text.c_str(), (int)text.size(), &out[0], n);
    return out;
}

std::wstring TitleOf(HWND hWnd) {
    wchar_t buf[512] = {0};
    GetWindowTextW(hWnd, buf, 512);
    return buf;
}

std::string ClassOf(HWND hWnd) {
    char buf[256] = {0};
    GetClassNameA(hWnd, buf, sizeof buf);
    return buf;
}

bool g_bHung = false;
bool g_bAccessible = false;

// A message to the wizard that gives up after a few seconds rather than hang
// with a wizard that does not answer; the output then says "hung".
LRESULT Ask(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hWnd, nMsg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) {
        g_bHung = true;
        return -1;
    }
    return (LRESULT)result;
}

void WriteRect(CJsonWriter& json, HWND hWnd) {
    RECT rc = {0, 0, 0, 0};
    GetWindowRect(hWnd, &rc);
    json.Rect("rect", rc.left, rc.top, rc.right, rc.bottom);
}

void WriteWindowHead(CJsonWriter& json, HWND hWnd) {
    json.Int("hwnd", (long long)(UINT_PTR)hWnd);
    json.String("class", ClassOf(hWnd));
    json.String("title", ToUtf8(TitleOf(hWnd)));
    json.Bool("visible", IsWindowVisible(hWnd) != FALSE);
    json.Bool("enabled", IsWindowEnabled(hWnd) != FALSE);
    WriteRect(json, hWnd);
}

// Asks in Unicode: across processes Wine passes LB_GETTEXT's buffer
// unconverted, so SendMessageA would receive UTF-16 in a too-short buffer.
void WriteListBox(CJsonWriter& json, HWND hList) {
    json.BeginArray("log");
    LRESULT count = Ask(hList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT len = Ask(hList, LB_GETTEXTLEN, i, 0);
        if (len < 0)
            break;
        std::vector<wchar_t> buf(len + 1, L'\0');
        LRESULT got = Ask(hList, LB_GETTEXT, i, (LPARAM)buf.data());
        if (got < 0 || got > len)
            break;
        json.ArrayString(ToUtf8(std::wstring(buf.data(), got)));
    }
    json.EndArray();
}

void WriteProgress(CJsonWriter& json, HWND hBar) {
    json.BeginObject("progress");
    json.Int("pos", Ask(hBar, PBM_GETPOS, 0, 0));
    json.Int("min", Ask(hBar, PBM_GETRANGE, TRUE, 0));
    json.Int("max", Ask(hBar, PBM_GETRANGE, FALSE, 0));
    json.EndObject();
}

// Enumeration callback: adds each window to the vector at lParam.
BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

// The keyboard focus of the window's thread, read from outside it.
HWND FocusOf(HWND hWnd) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

void WriteChildren(CJsonWriter& json, HWND hDlg) {
    const HWND hFocus = FocusOf(hDlg);
    std::vector<HWND> children;
    EnumChildWindows(hDlg, CollectWindow, (LPARAM)&children);
    HWND hList = nullptr;
    HWND hBar = nullptr;
    json.BeginArray("controls");
    for (HWND h : children) {
        if (GetParent(h) != hDlg)
            continue;
        std::string cls = ClassOf(h);
        if (cls == "ListBox")
            hList = h;
        else if (cls == PROGRESS_CLASSA)
            hBar = h;
        json.BeginObject();
        json.Int("id", GetDlgCtrlID(h));
        json.String("class", cls);
        json.Bool("visible", IsWindowVisible(h) != FALSE);
        json.Bool("tabstop", (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) != 0);
        json.Bool("focused", h == hFocus);
        WriteRect(json, h);
        if (g_bAccessible)
            CAccessibleReader::Write(json, h);
        json.EndObject();
    }
    json.EndArray();
    if (hList)
        WriteListBox(json, hList);
    if (hBar)
        WriteProgress(json, hBar);
}

struct CSearch {
    std::wstring title;
    bool all = false;
    std::vector<HWND> found;
};

BOOL CALLBACK FindTopLevel(HWND hWnd, LPARAM lParam) {
    CSearch* search = reinterpret_cast<CSearch*>(lParam);
    if (ClassOf(hWnd) != "#32770")
        return TRUE;
    if (search->all || TitleOf(hWnd) == search->title)
        search->found.push_back(hWnd);
    return TRUE;
}

// The window classes of every descendant, e.g. to see whether a dialog hosts a browser.
void WriteChildClasses(CJsonWriter& json, HWND hWnd) {
    std::vector<HWND> children;
    EnumChildWindows(hWnd, CollectWindow, (LPARAM)&children);
    json.BeginArray("children");
    for (HWND h : children)
        json.ArrayString(ClassOf(h));
    json.EndArray();
}

// The windows hOwner owns, and theirs in turn (a page dialog's pop-up).
void WriteOwned(CJsonWriter& json, HWND hOwner, int nDepth = 0) {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, (LPARAM)&windows);
    json.BeginArray("owned");
    for (HWND h : windows) {
        if (GetWindow(h, GW_OWNER) != hOwner)
            continue;
        json.BeginObject();
        WriteWindowHead(json, h);
        WriteChildClasses(json, h);
        WriteChildren(json, h);
        if (nDepth < 2)
            WriteOwned(json, h, nDepth + 1);
        json.EndObject();
    }
    json.EndArray();
}

// Every top-level window of hWnd's process, owned or not, of any class.
void WriteProcessWindows(CJsonWriter& json, HWND hWnd) {
    DWORD nProcess = 0;
    GetWindowThreadProcessId(hWnd, &nProcess);
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, (LPARAM)&windows);
    json.BeginArray("process_windows");
    for (HWND h : windows) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(h, &nOwner);
        if (nOwner != nProcess || !IsWindowVisible(h))
            continue;
        json.BeginObject();
        WriteWindowHead(json, h);
        json.EndObject();
    }
    json.EndArray();
}

// WM_TIMER with this id, count times, to each dialog the window owns: a page
// dialog's countdown driven from outside, without its seconds.
void PostTimerToOwned(HWND hOwner, UINT_PTR nId, int nCount) {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, (LPARAM)&windows);
    for (HWND h : windows) {
        if (GetWindow(h, GW_OWNER) != hOwner || ClassOf(h) != "#32770" || !IsWindowVisible(h))
            continue;
        for (int i = 0; i < nCount; ++i)
            PostMessageW(h, WM_TIMER, nId, 0);
    }
}

// Which window of the dialog's thread is active and which has the focus.
void WriteThreadFocus(CJsonWriter& json, HWND hDlg) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &info);
    json.Bool("active", info.hwndActive == hDlg);
    json.String("focus_class", info.hwndFocus ? ClassOf(info.hwndFocus) : "");
    json.String("focus_title", info.hwndFocus ? ToUtf8(TitleOf(info.hwndFocus)) : "");
}

void WriteDialog(CJsonWriter& json, HWND hDlg) {
    json.BeginObject();
    WriteWindowHead(json, hDlg);
    WriteThreadFocus(json, hDlg);
    WriteChildren(json, hDlg);
    WriteOwned(json, hDlg);
    json.EndObject();
}

std::string FromHex(const char* hex) {
    std::string out;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        char pair[3] = {hex[i], hex[i + 1], 0};
        out += static_cast<char>(std::strtol(pair, nullptr, 16));
    }
    return out;
}

std::string ReadFile(const char* path) {
    std::string out;
    if (FILE* f = std::fopen(path, "rb")) {
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            out.append(buf, n);
        std::fclose(f);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

// One look: the options as on the command line; the JSON line on stdout.
int Inspect(int argc, char** argv) {
    g_bHung = false;
    g_bAccessible = false;
    CSearch search;
    search.title = kWizardTitle;
    const char* pszSysCommand = nullptr;
    const char* pszTimerId = nullptr;
    int nTimerCount = 0;
    bool bActivate = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--all"))
            search.all = true;
        else if (!std::strcmp(argv[i], "--title-hex") && i + 1 < argc)
            search.title = Widen(FromHex(argv[++i]), CP_UTF8);
        else if (!std::strcmp(argv[i], "--title-file") && i + 1 < argc)
            search.title = Widen(ReadFile(argv[++i]), CP_UTF8);
        else if (!std::strcmp(argv[i], "--post-syscommand") && i + 1 < argc)
            pszSysCommand = argv[++i];
        else if (!std::strcmp(argv[i], "--accessible"))
            g_bAccessible = true;
        else if (!std::strcmp(argv[i], "--activate"))
            bActivate = true;
        else if (!std::strcmp(argv[i], "--post-timer") && i + 2 < argc) {
            pszTimerId = argv[++i];
            nTimerCount = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr,
                         "usage: qel_inspect [--title-hex HEX | --title-file FILE | "
                         "--all] [--post-syscommand N] [--post-timer ID COUNT] [--accessible] "
                         "[--activate] | --serve\n");
            std::fputs("{\"found\": false, \"usage\": true}\n", stdout);
            return 2;
        }
    }
    if (g_bAccessible)
        CoInitialize(nullptr); // once a thread; later calls only count
    EnumWindows(FindTopLevel, (LPARAM)&search);
    if (bActivate) {
        for (HWND h : search.found)
            SetForegroundWindow(h);
    }
    if (pszSysCommand) {
        for (HWND h : search.found)
            PostMessageW(h, WM_SYSCOMMAND, std::strtoul(pszSysCommand, nullptr, 0), 0);
    }
    if (pszTimerId) {
        for (HWND h : search.found)
            PostTimerToOwned(h, std::strtoul(pszTimerId, nullptr, 0), nTimerCount);
    }
    CJsonWriter json;
    json.BeginObject();
    json.Bool("found", !search.found.empty());
    json.BeginArray("windows");
    for (HWND h : search.found)
        WriteDialog(json, h);
    json.EndArray();
    if (!search.found.empty())
        WriteProcessWindows(json, search.found.front());
    json.Bool("hung", g_bHung);
    json.EndObject();
    std::fwrite(json.Text().data(), 1, json.Text().size(), stdout);
    std::fputc('\n', stdout);
    return search.found.empty() ? 1 : g_bHung ? 3 : 0;
}

int Serve() {
    char line[4096];
    while (std::fgets(line, sizeof line, stdin)) {
        std::vector<char*> args = {nullptr};
        for (char* word = std::strtok(line, " \r\n"); word; word = std::strtok(nullptr, " \r\n"))
            args.push_back(word);
        Inspect(static_cast<int>(args.size()), args.data());
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc == 2 && !std::strcmp(argv[1], "--serve"))
        return Serve();
    return Inspect(argc, argv);
}
