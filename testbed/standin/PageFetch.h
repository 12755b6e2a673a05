// One navigation's HTTP work, off the user-interface thread: a worker reads
// the address with WinINet (following redirects, cookies and cache on, a
// fresh copy from the cache answering in place of the server) as its bytes
// arrive; each frame the page has so far is fetched whole as soon as its tag
// has arrived, with its own frames, before the page is read on. The page's
// first part, each such frame and the page's end are a stage each, posted to
// the window with nMsg. The
// object waits for its worker when destroyed; a worker that does not answer
// in time is left to finish on state it shares, never on this object.
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

    // The page begun, a frame complete, or the page complete. top.strHtml is
    // the page as far as it has arrived (up to its last complete tag), whole
    // once bDone.
    struct CStage {
        bool bDone = false;
        CPage top;
        // None, or one of the page's frames, then its own frames; nParent
        // counts all the navigation's frames in the order they come.
        std::vector<CPage> vecFrames;
    };

    CPageFetch(HWND hwndNotify, UINT nMsg, WPARAM wParam, const std::wstring& strUrl);
    ~CPageFetch();
    CPageFetch(const CPageFetch&) = delete;
    CPageFetch& operator=(const CPageFetch&) = delete;

    // An address relative to a page's, made whole.
    static std::wstring Resolve(const std::wstring& strBase, const std::wstring& strRelative);

    // The next stage, one for each nMsg posted; false when none is waiting.
    // The last is bDone.
    bool TakeStage(CStage& stage);

private:
    struct CState;
    struct CAnswer;
    static DWORD WINAPI ThreadProc(void* pParam);
    static void Run(CState& state);
    static void Post(CState& state, CStage&& stage);
    static void StageNewFrames(CState& state, const CPage& top, size_t& nPageFrames, int& nFrames);
    static bool Open(CState& state, const std::wstring& strUrl, CPage& page, CAnswer& answer);
    static bool Read(CAnswer& answer);
    static void Finish(CAnswer& answer, CPage& page, bool bWhole);
    static void Fetch(CState& state, const std::wstring& strUrl, CPage& page);
    static void FetchFrames(CState& state, std::vector<CPage>& vecFrames, size_t nHolder, int nBase,
                            int nDepth);

    std::shared_ptr<CState> m_pState;
    HANDLE m_hThread = nullptr;
};
