#pragma once

#include <windows.h>

#include "testbed/inspector/JsonWriter.h"

// Reads a window's client area as an assistive tool does, through
// AccessibleObjectFromWindow, from another process: "acc" with role, name,
// description (null when there is none), default action and state.
class CAccessibleReader {
public:
    static void Write(CJsonWriter& json, HWND hWnd);
};
