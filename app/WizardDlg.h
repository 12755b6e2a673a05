// CWizardDlg: the main wizard window. It shows the log and the progress of
// the repair procedure and supplies the procedure's platform operations.
#pragma once

#include "framework/Bitmap.h"
#include "framework/Dialog.h"
#include "framework/ListBox.h"
#include "framework/ProgressCtrl.h"
#include "skin/ImageButton.h"
#include "wizard/RepairProcedure.h"

class CWizardDlg : public CDialog, public IRepairHost {
public:
    explicit CWizardDlg(CWnd* pParent = nullptr);
    ~CWizardDlg() override;

    // Repair procedure operations.
    void ClearLog() override;
    void AddLogLine(LPCTSTR text) override;
    void ScrollLogToEnd() override;
    void SetProgress(int pos) override;
    BOOL GetProgramFilesFolder(CString& folder) override;
    PluginPathKind GetPluginPathKind(LPCTSTR path) override;
    FinalPathResult GetFinalFolderPath(LPCTSTR folder, CString& finalPath) override;
    IPluginFile* OpenPluginFile(LPCTSTR path) override;
    void ClearPluginFileAttributes(LPCTSTR path) override;
    BOOL DeletePluginFile(LPCTSTR path) override;
    void RunHidden(LPCTSTR commandLine) override;
    void ShellOpenHidden(LPCTSTR file, LPCTSTR parameters) override;
    void SetTimer(UINT id, UINT elapse) override;
    void KillTimer(UINT id) override;
    void ShowStartButton(int nShow) override;
    void ShowTestButton(int nShow) override;
    void PlaceHint(int x, int y, int show) override;
    void RunNotice() override;
    void RunSetupPage() override;
    int RunPaymentTest() override;

    // Moves a control to x, y keeping its size; shows it when show is 1.
    void PlaceControl(CWnd* control, int x, int y, int show);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBtnStart();
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnNcHitTest(CPoint point);
    void OnTimer(UINT nIDEvent);
    void OnBtnCancel();
    void OnBtnTest();

    CListBox m_log;
    CProgressCtrl m_progress;
    CImageButton m_btnStart;
    CImageButton m_btnCancel;
    CImageButton m_btnTest;
    HICON m_hIcon;
    int m_bFirstPaint = 0;
    CBitmap m_hBackground;

    CRepairProcedure m_procedure;

    DECLARE_MESSAGE_MAP()
};
