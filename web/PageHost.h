// The platform operations a page dialog needs when a page completes or its
// countdown ticks. A page dialog supplies them with Win32 and COM calls;
// tests supply them with a recorder.
#pragma once

#include "framework/String.h"

class IPageHost {
public:
    virtual ~IPageHost() = default;

    // Outer HTML of the root element of the top-level document of the
    // dialog's browser control, in the ANSI code page. FALSE (html untouched)
    // when there is no document or it offers no root element.
    virtual BOOL ReadDocumentHtml(CString& html) = 0;
    // Turns the scroll bars off on the document of the browser object (frame
    // or window) whose load completed.
    virtual void TurnScrollOff() = 0;
    // Moves the browser control, in dialog client coordinates, repainting it.
    virtual void MoveBrowser(int x, int y, int cx, int cy) = 0;
    virtual void KillTimer(UINT id) = 0;
    // Default processing of the message being handled.
    virtual void DefaultProcessing() = 0;
    virtual void EndDialog(int nResult) = 0;
};
