// Shared pieces of the Wine tests: the application object they run under and
// a way to run code from inside a modal loop.
#pragma once

#include "framework/DialogTemplate.h"
#include "framework/WinApp.h"

#include <functional>
#include <string>

// Posts fn to run when the thread's innermost modal loop next dispatches
// messages; a message-only window carries it.
void PostToModalLoop(std::function<void()> fn);

// The top-level dialog (shown yet or not) of this thread whose title is title, or NULL.
HWND FindThreadDialog(const char* title);

// Top-level dialogs of this thread owned by hWndOwner.
HWND FindOwnedDialog(HWND hWndOwner);

// Text of one list-box line.
std::string ListLine(HWND hList, int index);

// The tooltip window of this thread that has hWndTool registered as a tool
// by its handle, or NULL; *pText gets that tool's text.
HWND FindToolTip(HWND hWndTool, std::string* pText);

// A dialog template of the exe's resources, parsed (empty when missing).
CDialogTemplate LoadProgramTemplate(UINT nId);
