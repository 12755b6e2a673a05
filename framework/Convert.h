// Text between the ANSI code page and UTF-16: the one place the class
// library and the program convert it.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

#include <string>

// Wide text as ANSI (code page CP_ACP). nChars -1: up to the terminating
// zero. NULL or empty text gives an empty string.
CString AfxW2A(const wchar_t* pszWide, int nChars = -1);
// ANSI text as UTF-16, without the terminating zero in the length.
std::wstring AfxA2W(const char* pszAnsi);
