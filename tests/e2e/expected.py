"""What the wizard shows at each state, as the user reads it."""

TITLE = "노르베인 플러그인 설치 마법사"
ABOUT_TITLE = "QelPluginWizard 정보"
IDM_ABOUTBOX = 16

INTRO = [
    " ",
    "-  노르베인 플러그인 설치 마법사 입니다.",
    " ",
    "-  본 설치 프로그램을 통해 노르베인 플러그인을 이용한 결제를",
    " ",
    "    할 수 있도록 설치 및 복구하는 절차를 수행합니다.",
    " ",
    "-  아래 '다음'버튼을 누르시면 설치 및 복구를 진행합니다.",
    " ",
]

REINSTALLED = [
    " ",
    "√  설치경로의 결제창 파일을 삭제합니다.",
    "√  설치경로의 결제창 파일이 삭제 되었습니다.",
    " ",
    "√  카드사 인증 플러그 인을 재설치합니다.",
    "√  카드사 인증 플러그 인의 재설치가 완료되었습니다.",
    " ",
    "√  결제창 플러그인 파일을 재설치합니다.",
    "√  설치 프로그램이 호출되면 반드시 '실행'버튼을 클릭하여",
    "   설치를 진행하여 주시기 바랍니다.",
    " ",
]

# The second line when a plug-in file is still there after the deletions.
PARTLY_DELETED = "√  설치경로의 결제창 파일 일부를 삭제하지 못했습니다."

TESTING = REINSTALLED + [
    "√  플러그인 파일의 재설치가 완료 되었습니다.",
    "√  결제 테스트를 진행합니다.",
    " ",
]

TESTED_SUCCESS = TESTING + [
    "√  모든 결제 테스트가 정상적으로 완료 되었습니다.",
    "√  결제 하셨던 쇼핑몰에서 결제를 진행하여 주시기 바랍니다.",
]

TESTED_FAILURE = TESTING + [
    "√  결제 테스트 중 취소 하였습니다.",
    "√  결제 하셨던 쇼핑몰에서 결제를 시도하여 주시고",
    "   계속 오류가 발생할 경우",
    "   벨루스 기술지원팀(02-3141-5926,내선3번)으로",
    "   연락 주시기 바랍니다.",
]

PLUGIN_FILES = [
    "qelpay.dll", "qelcard.dll", "qelcert.dll", "qelnet.dll", "qelupd.dll",
    "vaultlib2.dll", "dirlook32.dll", "cs_aud.dll", "cs_api.dll", "cshsmkey.dll",
    "certkit_ioc.dll", "qelmark.bmp",
]
KEPT_FILE = "keep.txt"
HELD_FILE = "qelcard.dll"  # held open by another program in the scenario "held"
# In the scenario "link", a symbolic link to a read-only file outside the plug-in folder.
LINKED_FILE = "qelcard.dll"
LINK_TARGET = "qel-outside.dll"  # under drive_c

SETUP_PAGE = "/plugin/wizard/wizard_setup.html"
PAY_PAGE = "/plugin/wizard/QEL_pay_wizard.html"
INSTALLER = "/plugin/wizard/NorvaneWizard.exe"
SETUP_MARKER = "/plugin/wizard/wizard_install.html"
RESULT_MARKER = "/plugin/wizard/wizard_result.html"

IDC_BTN_START = 1001
IDC_PROGRESS = 1002
IDC_BTN_CANCEL = 1003
IDC_BTN_TEST = 1004
IDC_LOG = 1008
IDC_HINT = 9193
IDC_BTN_OK = 1000  # the setup page dialog's OK image

# What an assistive tool reads (oleacc.h): the words on the image buttons, roles, states.
NAME_NEXT = "다음"
NAME_CLOSE = "종료"
NAME_OK = "확인"
ROLE_PUSHBUTTON = 43
ROLE_LIST = 33
ROLE_PROGRESSBAR = 48
STATE_UNAVAILABLE = 0x1
STATE_INVISIBLE = 0x8000
