// Prints the pixel rectangles that dialog-unit rectangles map to in a dialog
// whose font is "굴림" 9pt, the font of every template of the wizard.
//   i686-w64-mingw32-g++-posix -O2 -static -o dialog_units.exe tools/dialog_units.cpp
//   wine dialog_units.exe [x y w h]...   (default: template 102's controls)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <vector>

namespace {

struct SRect {
    int x, y, w, h;
};

std::vector<SRect> g_rects;

void Put(std::vector<WORD>& v, const wchar_t* s) {
    do {
        v.push_back(static_cast<WORD>(*s));
    } while (*s++);
}

// DLGTEMPLATEEX with DS_SETFONT and no controls, as WORDs.
std::vector<WORD> MakeTemplate() {
    const DWORD style = WS_POPUP | DS_SETFONT;
    std::vector<WORD> v = {1, 0xFFFF, 0, 0, 0, 0};        // version, signature, help id, ex-style
    v.insert(v.end(), {LOWORD(style), HIWORD(style), 0}); // style, no controls
    v.insert(v.end(), {0, 0, 283, 370, 0, 0, 0});         // place, size, no menu, class, title
    v.insert(v.end(), {9, 0, 0x0100});                    // 9 points, weight 0, charset 1
    Put(v, L"굴림");
    return v;
}

INT_PTR CALLBACK DlgProc(HWND hWnd, UINT nMsg, WPARAM, LPARAM) {
    if (nMsg != WM_INITDIALOG)
        return FALSE;
    RECT base = {0, 0, 4, 8};
    MapDialogRect(hWnd, &base);
    printf("base units %ld x %ld\n", base.right, base.bottom);
    for (const SRect& r : g_rects) {
        // place and size map separately, as when the dialog creates a control
        RECT px = {r.x, r.y, r.w, r.h};
        MapDialogRect(hWnd, &px);
        printf("%d,%d,%d,%d -> x %ld..%ld y %ld..%ld\n", r.x, r.y, r.w, r.h, px.left,
               px.left + px.right, px.top, px.top + px.bottom);
    }
    EndDialog(hWnd, 0);
    return TRUE;
}

} // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    for (int i = 1; i + 3 < argc; i += 4)
        g_rects.push_back({atoi(argv[i]), atoi(argv[i + 1]), atoi(argv[i + 2]), atoi(argv[i + 3])});
    if (g_rects.empty())
        g_rects = {{50, 282, 205, 11},
                   {23, 60, 234, 194},
                   {189, 315, 37, 16},
                   {229, 315, 37, 16},
                   {9, 319, 177, 9}};
    std::vector<WORD> tmpl = MakeTemplate();
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                            reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()), nullptr, DlgProc, 0);
    return 0;
}
