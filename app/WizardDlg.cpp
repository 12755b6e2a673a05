#include "app/WizardDlg.h"

#include "app/PluginFile.h"
#include "app/ProgramStarter.h"
#include "framework/Menu.h"
#include "framework/PaintDC.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "skin/AboutDlg.h"
#include "skin/NoticeDlg.h"
#include "skin/SkinBackground.h"
#include "web/PayTestDlg.h"
#include "web/SetupPageDlg.h"
#include "wizard/WizardServer.h"
#include "wizard/PaymentVerdict.h"

#include <shlobj.h>

CWizardDlg::CWizardDlg(CWnd* pParent) : CDialog(IDD_WIZARD, pParent), m_procedure(*this) {
    m_nLayoutDpi = CSkinBackground::LAYOUT_DPI;
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON);
    m_hIcon = ::LoadIconA(hInst, MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CWizardDlg::~CWizardDlg() = default;

void CWizardDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_LOG, m_log);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_BTN_START, m_btnStart);
    DDX_Control(pDX, IDC_BTN_CANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_BTN_TEST, m_btnTest);
}

BEGIN_MESSAGE_MAP(CWizardDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_STN_CLICKED(IDC_BTN_START, OnBtnStart)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_WM_NCHITTEST()
ON_WM_TIMER()
ON_STN_CLICKED(IDC_BTN_CANCEL, OnBtnCancel)
ON_STN_CLICKED(IDC_BTN_TEST, OnBtnTest)
END_MESSAGE_MAP()

BOOL CWizardDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != nullptr) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    SetWindowText("노르베인 플러그인 설치 마법사");

    HINSTANCE hInst = AfxGetInstanceHandle();
    m_hBackground.Attach(::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BG_WIZARD)));

    m_btnStart.m_hBmpUp = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_NEXT));
    m_btnStart.m_hBmpDown = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_NEXT));
    m_btnStart.InitButton();
    m_btnStart.SetToolTip("OK");
    m_btnStart.SetActive(1);
    m_btnStart.SetAccessibleName("다음");

    m_btnCancel.m_hBmpUp = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_CLOSE));
    m_btnCancel.m_hBmpDown = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_CLOSE));
    m_btnCancel.InitButton();
    m_btnCancel.SetToolTip("CANCEL");
    m_btnCancel.SetActive(1);
    m_btnCancel.SetAccessibleName("종료");

    m_btnTest.m_hBmpUp = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_NEXT));
    m_btnTest.m_hBmpDown = ::LoadBitmapA(hInst, MAKEINTRESOURCEA(IDB_BTN_NEXT));
    m_btnTest.InitButton();
    m_btnTest.SetToolTip("OK");
    m_btnTest.SetActive(1);
    m_btnTest.SetAccessibleName("다음");
    m_btnTest.ShowButton(0);

    PlaceControl(GetDlgItem(IDC_HINT), HINT_X, HINT_Y, 0);

    m_progress.SendMessage(PBM_SETRANGE32, 0, 10);
    m_progress.SendMessage(PBM_SETPOS, 0, 0);
    UpdateData(TRUE);

    AddLogLine(" ");
    AddLogLine("-  노르베인 플러그인 설치 마법사 입니다.");
    AddLogLine(" ");
    AddLogLine("-  본 설치 프로그램을 통해 노르베인 플러그인을 이용한 결제를");
    AddLogLine(" ");
    AddLogLine("    할 수 있도록 설치 및 복구하는 절차를 수행합니다.");
    AddLogLine(" ");
    AddLogLine("-  아래 '다음'버튼을 누르시면 설치 및 복구를 진행합니다.");
    AddLogLine(" ");

    m_bFirstPaint = 1;
    CWnd::SetTimer(IDT_NOTICE, IDT_NOTICE_ELAPSE, nullptr);
    return TRUE;
}

void CWizardDlg::OnCancel() {
    EndDialog(0);
}

void CWizardDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CWizardDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CWizardDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

int CWizardDlg::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CDialog::OnCreate(lpCreateStruct) == -1)
        return -1;
    return 0;
}

void CWizardDlg::OnClose() {
    Default();
}

void CWizardDlg::OnDestroy() {
    CStatic::DeleteTemplateBitmap(::GetDlgItem(m_hWnd, IDC_HINT));
    CDialog::OnDestroy();
}

BOOL CWizardDlg::OnEraseBkgnd(CDC* pDC) {
    return CSkinBackground::OnEraseBkgnd(*this, pDC, m_hBackground, m_bFirstPaint);
}

LRESULT CWizardDlg::OnNcHitTest(CPoint) {
    LRESULT nHit = Default();
    return nHit == HTCLIENT ? HTCAPTION : nHit;
}

void CWizardDlg::OnTimer(UINT nIDEvent) {
    m_procedure.OnTimer(nIDEvent);
    Default();
}

void CWizardDlg::OnBtnStart() {
    m_procedure.OnBtnStart();
}

void CWizardDlg::OnBtnCancel() {
    OnCancel();
}

void CWizardDlg::OnBtnTest() {
    m_procedure.OnBtnTest();
}

void CWizardDlg::ClearLog() {
    m_log.SendMessage(LB_RESETCONTENT, 0, 0);
}

void CWizardDlg::AddLogLine(LPCTSTR text) {
    m_log.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void CWizardDlg::ScrollLogToEnd() {
    m_log.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
}

void CWizardDlg::SetProgress(int pos) {
    m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

BOOL CWizardDlg::GetProgramFilesFolder(CString& folder) {
    char buffer[MAX_PATH] = {};
    BOOL bFound = ::SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_PROGRAM_FILES, FALSE);
    folder = buffer;
    return bFound && !folder.IsEmpty();
}

PluginPathKind CWizardDlg::GetPluginPathKind(LPCTSTR path) {
    const DWORD dwAttributes = ::GetFileAttributesA(path);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD dwError = ::GetLastError();
        if (dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND)
            return PLUGIN_PATH_NONE;
        return PLUGIN_PATH_OTHER;
    }
    if (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return PLUGIN_PATH_OTHER;
    return (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PLUGIN_PATH_FOLDER : PLUGIN_PATH_FILE;
}

FinalPathResult CWizardDlg::GetFinalFolderPath(LPCTSTR folder, CString& finalPath) {
    return CPluginFile::GetFinalFolderPath(folder, finalPath);
}

IPluginFile* CWizardDlg::OpenPluginFile(LPCTSTR path) {
    return CPluginFile::Open(path);
}

// Windows XP only. Opened for its attributes only, which no sharing mode refuses; a file with
// a second name is left alone, since that name may lie outside the folder.
void CWizardDlg::ClearPluginFileAttributes(LPCTSTR path) {
    const DWORD dwClear = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    HANDLE hFile = ::CreateFileA(path, FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    BY_HANDLE_FILE_INFORMATION info = {};
    const BOOL bRead = ::GetFileInformationByHandle(hFile, &info);
    ::CloseHandle(hFile);
    const DWORD dwOther = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if (!bRead || info.nNumberOfLinks != 1 || (info.dwFileAttributes & dwOther) != 0 ||
        (info.dwFileAttributes & dwClear) == 0)
        return;
    const DWORD dwKept = info.dwFileAttributes & ~dwClear;
    ::SetFileAttributesA(path, dwKept != 0 ? dwKept : FILE_ATTRIBUTE_NORMAL);
}

BOOL CWizardDlg::DeletePluginFile(LPCTSTR path) {
    return ::DeleteFileA(path);
}

void CWizardDlg::RunHidden(LPCTSTR commandLine) {
    CProgramStarter::RunHidden(commandLine);
}

void CWizardDlg::ShellOpenHidden(LPCTSTR file, LPCTSTR parameters) {
    CProgramStarter::ShellOpenHidden(file, parameters);
}

void CWizardDlg::SetTimer(UINT id, UINT elapse) {
    CWnd::SetTimer(id, elapse, nullptr);
}

void CWizardDlg::KillTimer(UINT id) {
    CWnd::KillTimer(id);
}

void CWizardDlg::ShowStartButton(int nShow) {
    // The second next image takes the first one's spot, and the focus with it
    // unless another control of the wizard has it.
    const HWND hFocus = GetFocusControl();
    if (nShow != 1 && m_btnTest.IsLive() && (hFocus == nullptr || hFocus == m_btnStart.m_hWnd))
        GotoDlgCtrl(&m_btnTest);
    m_btnStart.ShowButton(nShow);
}

void CWizardDlg::ShowTestButton(int nShow) {
    m_btnTest.ShowButton(nShow);
}

void CWizardDlg::PlaceHint(int x, int y, int show) {
    PlaceControl(GetDlgItem(IDC_HINT), x, y, show);
}

void CWizardDlg::PlaceControl(CWnd* control, int x, int y, int show) {
    if (control == nullptr)
        return;
    CRect rect;
    control->GetWindowRect(&rect);
    control->MoveWindow(x, y, rect.Width(), rect.Height(), TRUE);
    control->ShowWindow(show == 1 ? SW_SHOW : SW_HIDE);
}

void CWizardDlg::RunNotice() {
    CNoticeDlg dlg(nullptr);
    dlg.DoModal();
}

void CWizardDlg::RunSetupPage() {
    CSetupPageDlg dlg(nullptr);
    dlg.DoModal();
}

int CWizardDlg::RunPaymentTest() {
    CString strResult;
    CPayTestDlg* pDlg = new CPayTestDlg(nullptr);
    pDlg->m_strUrl = WIZARD_URL_PAYTEST;
    pDlg->DoModal();
    strResult = pDlg->m_strResult;
    delete pDlg;
    return PaymentVerdict(strResult);
}
