// CDialog: a modal dialog from a template resource. The modal loop gives
// every window from the message's target up to the main window its
// PreTranslateMessage turn before the message is dispatched.
#pragma once

#include "framework/DialogLayout.h"
#include "framework/DialogTemplate.h"
#include "framework/Wnd.h"

#include <vector>

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override = default;

    // Creates the dialog, runs it until EndDialog and destroys its window.
    // Returns the end code, or -1 when the window or one of its hosted
    // controls could not be created.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult);
    // The control with the focus; while another window is active, the one
    // the dialog's activation gives it to. NULL for none of its controls.
    HWND GetFocusControl() const;
    // Gives a control the focus as Tab does; while another window is active,
    // the dialog's next activation gives it the focus instead.
    void GotoDlgCtrl(CWnd* pWndCtrl);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    // The template bytes to create the window from; controls the system
    // cannot create itself are taken out here and kept for later.
    virtual BOOL LoadTemplate(std::vector<BYTE>& templateBytes);
    // Creates the template's ActiveX controls with their initial state from
    // the dialog's control-initialisation resource. When one cannot be
    // created the dialog ends with -1 before it is shown.
    BOOL CreateHostedControls() override;

    int RunModalLoop();
    static bool IsNavigationKey(const MSG& msg);
    BOOL ContinueModal() const { return m_bContinueModal; }
    void EndModalLoop(int nResult);

    // ActiveX controls of the template, taken out before the system creates
    // the dialog; the control container creates them at WM_INITDIALOG.
    std::vector<CDialogTemplate::CItem> m_hostedItems;
    // Each one's place in the template (CDialogTemplate::GetRemovedPlaces).
    std::vector<size_t> m_hostedPlaces;

    // Pixels per inch the template is laid out for: 0 for the system's, as
    // every ordinary dialog. A dialog whose face is a bitmap in pixels sets
    // 96, so that its controls and their font keep their 96-DPI pixels over
    // the bitmap whatever DPI the system reports (see CDialogLayout).
    int m_nLayoutDpi = 0;
    // The template the system created the window from, kept for the layout.
    CDialogTemplate m_template;
    CDialogLayout m_layout;

    // Owner for a dialog run with no parent: the application's main window
    // (or its top-level ancestor), unless that is this dialog itself.
    HWND GetSafeOwner() const;

    DECLARE_MESSAGE_MAP()

private:
    // The dialog manager gives the focus back on activation to the control
    // that had it; the one kept here, that or one GotoDlgCtrl named while
    // the dialog was inactive, then takes it.
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);

    int m_nModalResult = -1;
    bool m_bContinueModal = false;
    HWND m_hWndFocus = nullptr;

    static INT_PTR CALLBACK DlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
