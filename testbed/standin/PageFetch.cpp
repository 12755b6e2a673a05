#include "testbed/standin/PageFetch.h"

#include "html/FriendlyError.h"
#include "html/HtmlCharset.h"
#include "html/HtmlPage.h"
#include "testbed/standin/CacheCopy.h"
#include "testbed/standin/CallLog.h"

#include <wininet.h>

#include <algorithm>
#include <mutex>

struct CPageFetch::CState {
    HWND hwndNotify;
    UINT nMsg;
    WPARAM wParam;
    std::wstring strUrl;
    std::vector<CStage> vecStages; // posted, not yet taken
    std::mutex mutex;
    HINTERNET hNet = nullptr;
    bool bCancelled = false;
};

// An answer being read: from the server (hUrl) or a fresh cached copy.
struct CPageFetch::CAnswer {
    HINTERNET hUrl = nullptr;
    bool bCached = false;
    bool bEnded = false;
    std::string strBytes;
    std::string strType; // the Content-Type header
};

namespace {

const size_t kMaxFrames = 16;
const int kMaxDepth = 4;

std::wstring Decode(const std::string& strBytes, UINT nCodePage) {
    size_t nSkip = 0;
    if (nCodePage == CP_UTF8 && strBytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        nSkip = 3;
    const int nBytes = static_cast<int>(strBytes.size() - nSkip);
    if (nBytes <= 0)
        return std::wstring();
    const int n = MultiByteToWideChar(nCodePage, 0, strBytes.data() + nSkip, nBytes, nullptr, 0);
    std::wstring str(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(nCodePage, 0, strBytes.data() + nSkip, nBytes, &str[0], n);
    return str;
}

std::wstring QueryText(HINTERNET hUrl, DWORD nInfo, const wchar_t* pszName = nullptr) {
    wchar_t szValue[1024] = L"";
    if (pszName)
        lstrcpynW(szValue, pszName, 1024);
    DWORD nSize = sizeof szValue;
    return HttpQueryInfoW(hUrl, nInfo, szValue, &nSize, nullptr) ? szValue : L"";
}

} // namespace

CPageFetch::CPageFetch(HWND hwndNotify, UINT nMsg, WPARAM wParam, const std::wstring& strUrl)
    : m_pState(std::make_shared<CState>()) {
    m_pState->hwndNotify = hwndNotify;
    m_pState->nMsg = nMsg;
    m_pState->wParam = wParam;
    m_pState->strUrl = strUrl;
    // The worker holds this module and the state until it has ended.
    HMODULE hSelf = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&CPageFetch::ThreadProc), &hSelf);
    auto* pHeld = new std::pair<std::shared_ptr<CState>, HMODULE>(m_pState, hSelf);
    m_hThread = CreateThread(nullptr, 0, &CPageFetch::ThreadProc, pHeld, 0, nullptr);
    if (!m_hThread) {
        CCallLog::Write("fetch: no worker thread (error %lu)", GetLastError());
        delete pHeld;
        FreeLibrary(hSelf);
    }
}

CPageFetch::~CPageFetch() {
    {
        std::lock_guard<std::mutex> lock(m_pState->mutex);
        m_pState->bCancelled = true;
        if (m_pState->hNet) {
            // Closing the session aborts a request under way.
            InternetCloseHandle(m_pState->hNet);
            m_pState->hNet = nullptr;
        }
    }
    if (m_hThread) {
        if (WaitForSingleObject(m_hThread, 10000) != WAIT_OBJECT_0)
            CCallLog::Write("fetch: worker still busy; left to end on its own");
        CloseHandle(m_hThread);
    }
}

std::wstring CPageFetch::Resolve(const std::wstring& strBase, const std::wstring& strRelative) {
    wchar_t szUrl[INTERNET_MAX_URL_LENGTH];
    DWORD nSize = INTERNET_MAX_URL_LENGTH;
    if (!InternetCombineUrlW(strBase.c_str(), strRelative.c_str(), szUrl, &nSize, ICU_NO_ENCODE))
        return strRelative;
    return szUrl;
}

bool CPageFetch::TakeStage(CStage& stage) {
    std::lock_guard<std::mutex> lock(m_pState->mutex);
    if (m_pState->vecStages.empty())
        return false;
    stage = std::move(m_pState->vecStages.front());
    m_pState->vecStages.erase(m_pState->vecStages.begin());
    return true;
}

DWORD WINAPI CPageFetch::ThreadProc(void* pParam) {
    auto* pHeld = static_cast<std::pair<std::shared_ptr<CState>, HMODULE>*>(pParam);
    const HMODULE hSelf = pHeld->second;
    {
        std::shared_ptr<CState> pState = pHeld->first;
        delete pHeld;
        Run(*pState);
    }
    FreeLibraryAndExitThread(hSelf, 0);
}

void CPageFetch::Post(CState& state, CStage&& stage) {
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.bCancelled)
        return;
    state.vecStages.push_back(std::move(stage));
    PostMessageW(state.hwndNotify, state.nMsg, state.wParam, 0);
}

// The page is read as it arrives; after each part, the frames whose tags
// have come are fetched, each a stage of its own, before the rest is read.
void CPageFetch::Run(CState& state) {
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (state.bCancelled)
            return;
        state.hNet =
            InternetOpenW(L"QelStandin/1.0", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        if (!state.hNet)
            return;
    }
    CStage done;
    done.bDone = true;
    CAnswer answer;
    size_t nPageFrames = 0;
    int nFrames = 0;
    if (Open(state, state.strUrl, done.top, answer)) {
        bool bStarted = false;
        while (Read(answer)) {
            if (!done.top.bOk)
                continue;
            Finish(answer, done.top, false);
            if (!bStarted) {
                // The page's first part: its document exists (NavigateComplete2).
                CStage started;
                started.top = done.top;
                Post(state, std::move(started));
                bStarted = true;
            }
            StageNewFrames(state, done.top, nPageFrames, nFrames);
        }
        Finish(answer, done.top, true);
        if (done.top.bOk)
            StageNewFrames(state, done.top, nPageFrames, nFrames);
    }
    Post(state, std::move(done));
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.hNet) {
        InternetCloseHandle(state.hNet);
        state.hNet = nullptr;
    }
}

// Each of the page's frames (as far as top holds it) not fetched yet: fetched
// whole with its own frames, a stage with the page as it stands.
void CPageFetch::StageNewFrames(CState& state, const CPage& top, size_t& nPageFrames,
                                int& nFrames) {
    const std::vector<std::wstring> vecSources =
        CHtmlPage(top.strHtml, top.strCompatible).FrameSources();
    for (; nPageFrames < vecSources.size(); ++nPageFrames) {
        if (static_cast<size_t>(nFrames) >= kMaxFrames)
            return;
        CStage stage;
        stage.top = top;
        stage.vecFrames.emplace_back();
        Fetch(state, Resolve(top.strUrl, vecSources[nPageFrames]), stage.vecFrames.back());
        FetchFrames(state, stage.vecFrames, 0, nFrames, 2);
        nFrames += static_cast<int>(stage.vecFrames.size());
        CCallLog::Write("fetch: frame %u of %s complete with %u characters of the page",
                        static_cast<unsigned>(nPageFrames),
                        CCallLog::Utf8(top.strUrl.c_str()).c_str(),
                        static_cast<unsigned>(top.strHtml.size()));
        Post(state, std::move(stage));
    }
}

// The frames vecFrames[nHolder] holds, and theirs in turn, appended to
// vecFrames; nBase is vecFrames[0]'s place among all the navigation's
// frames. Bounded, since a frame may hold its own page.
void CPageFetch::FetchFrames(CState& state, std::vector<CPage>& vecFrames, size_t nHolder,
                             int nBase, int nDepth) {
    if (!vecFrames[nHolder].bOk || nDepth > kMaxDepth)
        return;
    const std::wstring strBase = vecFrames[nHolder].strUrl;
    const std::vector<std::wstring> vecSources =
        CHtmlPage(vecFrames[nHolder].strHtml, vecFrames[nHolder].strCompatible).FrameSources();
    for (const std::wstring& strSrc : vecSources) {
        if (static_cast<size_t>(nBase) + vecFrames.size() >= kMaxFrames)
            return;
        CPage page;
        page.nParent = nBase + static_cast<int>(nHolder);
        Fetch(state, Resolve(strBase, strSrc), page);
        vecFrames.push_back(std::move(page));
        FetchFrames(state, vecFrames, vecFrames.size() - 1, nBase, nDepth + 1);
    }
}

void CPageFetch::Fetch(CState& state, const std::wstring& strUrl, CPage& page) {
    CAnswer answer;
    if (!Open(state, strUrl, page, answer))
        return;
    while (Read(answer)) {
    }
    Finish(answer, page, true);
}

// The answer's status and headers; a fresh copy in the cache answers without
// the server (the control's default, no reload).
bool CPageFetch::Open(CState& state, const std::wstring& strUrl, CPage& page, CAnswer& answer) {
    page.strUrl = strUrl;
    std::wstring strHeaders;
    LONGLONG nFreshFor = 0;
    if (CCacheCopy::Find(strUrl, answer.strBytes, strHeaders, nFreshFor)) {
        answer.bCached = true;
        answer.strType = CCallLog::Utf8(CCacheCopy::Header(strHeaders, L"Content-Type").c_str());
        page.strCompatible = CCacheCopy::Header(strHeaders, L"X-UA-Compatible");
        page.nStatus = 200;
        page.bOk = true;
        CCallLog::Write("GET %s: from the cache, fresh for %lld s more",
                        CCallLog::Utf8(strUrl.c_str()).c_str(), nFreshFor);
        return true;
    }
    // Another scheme goes to its own protocol handler, never to the web.
    if (_wcsnicmp(strUrl.c_str(), L"http:", 5) != 0 &&
        _wcsnicmp(strUrl.c_str(), L"https:", 6) != 0) {
        CCallLog::Write("GET %s: not fetched, not an http address",
                        CCallLog::Utf8(strUrl.c_str()).c_str());
        return false;
    }
    HINTERNET hNet;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        hNet = state.hNet;
        if (!hNet)
            return false;
    }
    // A cancel closes the session under the lock, which aborts this call.
    answer.hUrl = InternetOpenUrlW(hNet, strUrl.c_str(), nullptr, 0, INTERNET_FLAG_NO_UI, 0);
    if (!answer.hUrl) {
        CCallLog::Write("GET %s: failed (error %lu)", CCallLog::Utf8(strUrl.c_str()).c_str(),
                        GetLastError());
        return false;
    }
    DWORD nStatus = 0, nSize = sizeof nStatus;
    HttpQueryInfoW(answer.hUrl, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &nStatus, &nSize,
                   nullptr);
    answer.strType = CCallLog::Utf8(QueryText(answer.hUrl, HTTP_QUERY_CONTENT_TYPE).c_str());
    page.strCompatible = QueryText(answer.hUrl, HTTP_QUERY_CUSTOM, L"X-UA-Compatible");
    wchar_t szFinal[INTERNET_MAX_URL_LENGTH];
    nSize = sizeof szFinal;
    if (InternetQueryOptionW(answer.hUrl, INTERNET_OPTION_URL, szFinal, &nSize))
        page.strUrl = szFinal;
    page.nStatus = nStatus;
    // An error answer with a long enough page of its own shows that page, so
    // such an answer is read whole before it is judged.
    if (CFriendlyError::Threshold(nStatus) > 0) {
        while (Read(answer)) {
        }
    }
    page.bOk = nStatus != 0 && !CFriendlyError::ReplacesAnswer(nStatus, answer.strBytes.size());
    return true;
}

// The next part of the answer, appended to its bytes: what has arrived, at
// least one byte; false at its end.
bool CPageFetch::Read(CAnswer& answer) {
    if (answer.bEnded || answer.bCached || !answer.hUrl) {
        answer.bEnded = true;
        return false;
    }
    DWORD nAvailable = 0;
    if (!InternetQueryDataAvailable(answer.hUrl, &nAvailable, 0, 0) || nAvailable == 0) {
        answer.bEnded = true;
        return false;
    }
    char buffer[4096];
    DWORD nRead = 0;
    if (!InternetReadFile(answer.hUrl, buffer, std::min<DWORD>(nAvailable, sizeof buffer),
                          &nRead) ||
        nRead == 0) {
        answer.bEnded = true;
        return false;
    }
    answer.strBytes.append(buffer, nRead);
    return true;
}

// The page's text from the bytes so far: up to the last complete tag, or
// whole (and the request closed) when bWhole.
void CPageFetch::Finish(CAnswer& answer, CPage& page, bool bWhole) {
    std::string strCharset = CHtmlCharset::Charset(answer.strType);
    if (strCharset.empty())
        strCharset = CHtmlCharset::Charset(answer.strBytes.substr(0, 1024));
    const UINT nCodePage = static_cast<UINT>(CHtmlCharset::CodePage(strCharset));
    if (!bWhole) {
        const size_t nTag = answer.strBytes.rfind('>');
        page.strHtml =
            Decode(answer.strBytes.substr(0, nTag == std::string::npos ? 0 : nTag + 1), nCodePage);
        return;
    }
    page.strHtml = Decode(answer.strBytes, nCodePage);
    if (answer.hUrl) {
        InternetCloseHandle(answer.hUrl);
        answer.hUrl = nullptr;
        CCallLog::Write("GET %s: %lu, %u bytes, charset %s",
                        CCallLog::Utf8(page.strUrl.c_str()).c_str(), page.nStatus,
                        static_cast<unsigned>(answer.strBytes.size()),
                        strCharset.empty() ? "(none)" : strCharset.c_str());
    }
}
