// CPictureButton: a bitmap static of a dialog template (notify style) that a
// keyboard and an assistive tool can use as a push button. While live it is
// a tab stop, added at run time; with the focus it draws a focus rectangle
// inside its picture unless the dialog hides keyboard cues; Space presses it
// and the key's release clicks (the static's STN_CLICKED to the dialog), as
// BM_CLICK does. A button that stops being live while it has the focus hands
// it to the next tab stop. WM_GETOBJECT gets a push button named after the
// word on the picture. Enter and Esc stay the dialog's.
#pragma once

#include "framework/AccessibleButton.h"
#include "framework/Static.h"
#include "skin/PressTracker.h"

#include <string>

class CPictureButton : public CStatic, public IKeyPressHost, protected IAccessibleButtonHost {
public:
    CPictureButton() = default;
    ~CPictureButton() override;
    CPictureButton(const CPictureButton&) = delete;
    CPictureButton& operator=(const CPictureButton&) = delete;

    // What an assistive tool reads: the word the picture shows and, where the
    // button has a tooltip, its text.
    void SetAccessibleName(LPCTSTR name);
    void SetAccessibleDescription(LPCTSTR description);
    // Shown and enabled; an image button adds its own state.
    virtual BOOL IsLive() const;
    // The tab stop follows IsLive(); bHadFocus: the button had the focus
    // before the change, which then goes to the next tab stop.
    void UpdateTabStop(BOOL bHadFocus);
    BOOL HasFocus() const { return ::GetFocus() == m_hWnd; }

    // IKeyPressHost: the plain picture has one face and only records the press.
    void ShowFace(BOOL bPressed) override { m_bPressed = bPressed; }
    void Click() override;

    BOOL m_bPressed = FALSE;
    BOOL m_bKeyDown = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LONG GetAccState() override;

private:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    void ReleaseAccessible();

    CAccessibleButton* m_pAccessible = nullptr;
    std::wstring m_strAccName;
    std::wstring m_strAccDescription;
};
