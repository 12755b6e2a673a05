// Loading of system DLLs for a program that may run elevated from a folder
// others can write to (a downloads folder): nothing is taken from the
// program's own or the current folder.
#pragma once

#include "framework/String.h"

#include <objbase.h>

// Restricts the DLL search of every later load to the system folder
// (SetDefaultDllDirectories where the system has it, else SetDllDirectoryA
// with "" which drops the current folder). WinMain calls it first.
void AfxRestrictDllSearch();
// Exports are looked up at run time: older systems lack some, and a static
// import would be resolved before the search is restricted.
template <typename TFn> TFn ModuleFunction(HMODULE hModule, LPCSTR name) {
    return reinterpret_cast<TFn>(reinterpret_cast<void*>(::GetProcAddress(hModule, name)));
}

// The system folder, without a trailing backslash; empty when unknown.
CString AfxGetSystemFolder();
// The system folder followed by "\" and name.
CString AfxGetSystemPath(LPCTSTR name);
// Loads a DLL from the system folder by its full path.
HMODULE AfxLoadSystemLibrary(LPCTSTR name);
// Loads COMCTL32 from the system folder and registers the common control
// classes through it. Returns the module (null when it could not be loaded),
// to be freed once no window of those classes is left.
HMODULE AfxInitCommonControls(DWORD dwICC);
// LresultFromObject of OLEACC, loaded from the system folder on first use and
// kept for the life of the process (proxies of objects handed out need it).
// 0, as for an unanswered WM_GETOBJECT, when the system has none.
LRESULT AfxLresultFromObject(REFIID riid, WPARAM wParam, IUnknown* pUnknown);
