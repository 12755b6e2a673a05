// The wizard window's title: the plain dialog takes it, the timer looks for it.
#pragma once

#define QEL_WIZARD_TITLE L"노르베인 플러그인 설치 마법사"
