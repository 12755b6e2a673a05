// CDialogLayout: lays a dialog's template controls out for a fixed DPI
// instead of the system's. Each control goes to its template rectangle in
// the dialog units of the template font at that DPI, and the controls draw
// their text in that font at its pixel height there, so a dialog whose face
// is a bitmap keeps the picture it has at that DPI whatever the system's.
// Picture statics keep the size their picture gave them, as at any DPI.
#pragma once

#include "framework/DialogTemplate.h"
#include "framework/DialogUnits.h"
#include "framework/Font.h"

class CDialogLayout {
public:
    // At the dialog's WM_INITDIALOG, before its own initialisation: when the
    // system's DPI differs from nDpi and the template sets its font, creates
    // that font at nDpi, moves the dialog's client area and the controls the
    // system created from the template (dlgTemplate without its hosted
    // items) to their places at nDpi and gives the controls the font.
    // FALSE when nothing was changed (the same DPI, no font, a failure).
    BOOL Apply(HWND hDlg, const CDialogTemplate& dlgTemplate, int nDpi);
    // Whether Apply changed the layout; the units it used then.
    BOOL IsApplied() const { return m_font.GetSafeHandle() != nullptr; }
    const CDialogUnits& GetUnits() const { return m_units; }
    // A template item's rectangle in pixels: from the applied units, else as
    // the system maps it for hDlg.
    RECT MapItemRect(HWND hDlg, const CDialogTemplate::CItem& item) const;
    // Lets go of the font once the dialog's window is gone.
    void Release() { m_font.DeleteObject(); }

    // The system's pixels per inch (the screen's LOGPIXELSY).
    static int GetSystemDpi();
    // Base units of a font, measured as the system measures a dialog font.
    static CDialogUnits MeasureUnits(HFONT hFont);
    // Whether a template item is a picture static that sizes itself.
    static bool IsSelfSizingPicture(const CDialogTemplate::CItem& item);

private:
    CFont m_font;
    CDialogUnits m_units{0, 0};
};
