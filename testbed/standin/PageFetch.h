// One navigation's HTTP work, off the user-interface thread: a worker fetches
// the address with WinINet (following redirects), then each of its frames,
// decodes the bytes to UTF-16 and posts nMsg to the window. The object waits
// for its worker when destroyed; a worker that does not answer in time is
// left to finish on state it shares, never on this object.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class CPageFetch {
public:
    struct CPage {
        std::wstring strUrl; // the final address, after redirects
        std::wstring strHtml;
        std::wstring strCompatible; // the X-UA-Compatible header
        DWORD nStatus = 0;          // the HTTP status; 0 when nothing answered
        int nParent = -1;           // a frame's: the frame it sits in, -1 for the page
        bool bOk = false;           // a page of the answer's own, not the control's error page
    };

    CPageFetch(HWND hwndNotify, UINT nMsg, WPARAM wParam, const std::wstring& strUrl);
    ~CPageFetch();
    CPageFetch(const CPageFetch&) = delete;
    CPageFetch& operator=(const CPageFetch&) = delete;

    // An address relative to a page's, made whole.
    static std::wstring Resolve(const std::wstring& strBase, const std::wstring& strRelative);

    // Valid once nMsg has arrived. The frames in page order, each frame's own
    // frames after it.
    const CPage& Top() const;
    const std::vector<CPage>& Frames() const;

private:
    struct CState;
    static DWORD WINAPI ThreadProc(void* pParam);
    static void Run(CState& state);
    static void Fetch(CState& state, const std::wstring& strUrl, CPage& page);
    static void FetchFrames(CState& state, int nParent, int nDepth);

    std::shared_ptr<CState> m_pState;
    HANDLE m_hThread = nullptr;
};
