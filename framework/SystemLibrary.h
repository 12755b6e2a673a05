// Loading of system DLLs for a program that may run elevated from a folder
// others can write to (a downloads folder): nothing is taken from the
// program's own or the current folder.
#pragma once

#include "framework/String.h"

// Restricts the DLL search of every later load to the system folder
// (SetDefaultDllDirectories where the system has it, else SetDllDirectoryA
// with "" which drops the current folder). WinMain calls it first.
void AfxRestrictDllSearch();
// The system folder followed by "\" and name.
CString AfxGetSystemPath(LPCTSTR name);
// Loads a DLL from the system folder by its full path.
HMODULE AfxLoadSystemLibrary(LPCTSTR name);
// Loads COMCTL32 from the system folder and registers the common control
// classes through it. Returns the module (null when it could not be loaded),
// to be freed once no window of those classes is left.
HMODULE AfxInitCommonControls(DWORD dwICC);
