#include "framework/SystemLibrary.h"
#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    // Before anything else can load a DLL from the program's folder.
    AfxRestrictDllSearch();
    return AfxWinMain(hInstance);
}
