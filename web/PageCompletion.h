// What a page dialog does when its browser control completes a load: an
// address with one of the dialog's end markers ends the dialog with the
// page's body text as result; any other page loses its scroll bars and is
// shown in the dialog's browser rectangle.
#pragma once

#include "web/PageHost.h"

#include <initializer_list>
#include <vector>

class CPageCompletion {
public:
    CPageCompletion(std::initializer_list<LPCTSTR> markers, int x, int y, int cx, int cy);

    // The setup page dialog: "wizard_install"; pages at 29, 63, 290 x 60.
    static const CPageCompletion& SetupPage();
    // The payment-test dialog: "wizard_result", "wizard_install"; pages at
    // 0, 0, 495 x 310.
    static const CPageCompletion& PayTest();

    // address is the completed load's address in the ANSI code page; NULL
    // counts as empty. strResult is the dialog's result text.
    void OnDocumentComplete(IPageHost& host, LPCTSTR address, CString& strResult) const;

    // TRUE when a marker stands at position 1 or later (case-sensitive).
    BOOL HasEndMarker(const CString& address) const;

    // Sets strResult to the body text of the top-level document and ends the
    // dialog with 0. Without a readable document strResult keeps its value.
    static void ReadPageResult(IPageHost& host, CString& strResult);

    // The bytes between "<BODY>" and the first "</BODY>" after it; empty when
    // either tag is missing.
    static CString BodyText(const CString& html);

    static int FindString(CString text, CString what, int start);
    static CString MidString(CString text, int first, int count);

private:
    std::vector<CString> m_markers;
    int m_x, m_y, m_cx, m_cy;
};
