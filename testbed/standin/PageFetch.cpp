#include "testbed/standin/PageFetch.h"

#include "testbed/standin/CallLog.h"
#include "html/FriendlyError.h"
#include "html/HtmlCharset.h"
#include "html/HtmlPage.h"

#include <wininet.h>

#include <mutex>

struct CPageFetch::CState {
    HWND hwndNotify;
    UINT nMsg;
    WPARAM wParam;
    std::wstring strUrl;
    CPage top;
    std::vector<CPage> vecFrames;
    std::mutex mutex;
    HINTERNET hNet = nullptr;
    bool bCancelled = false;
};

namespace {

std::wstring Decode(const std::string& strBytes, UINT nCodePage) {
    size_t nSkip = 0;
    if (nCodePage == CP_UTF8 && strBytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        nSkip = 3;
    const int nBytes = static_cast<int>(strBytes.size() - nSkip);
    if (nBytes == 0)
        return std::wstring();
    const int n = MultiByteToWideChar(nCodePage, 0, strBytes.data() + nSkip, nBytes, nullptr, 0);
    std::wstring str(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(nCodePage, 0, strBytes.data() + nSkip, nBytes, &str[0], n);
    return str;
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

const CPageFetch::CPage& CPageFetch::Top() const {
    return m_pState->top;
}

const std::vector<CPageFetch::CPage>& CPageFetch::Frames() const {
    return m_pState->vecFrames;
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
    Fetch(state, state.strUrl, state.top);
    FetchFrames(state, -1, 1);
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.hNet) {
        InternetCloseHandle(state.hNet);
        state.hNet = nullptr;
    }
    if (!state.bCancelled)
        PostMessageW(state.hwndNotify, state.nMsg, state.wParam, 0);
}

// The frames of the page (nParent -1) or of a frame, and theirs in turn;
// bounded, since a frame may hold its own page.
void CPageFetch::FetchFrames(CState& state, int nParent, int nDepth) {
    const size_t kMaxFrames = 16;
    const int kMaxDepth = 4;
    const CPage& holder = nParent < 0 ? state.top : state.vecFrames[static_cast<size_t>(nParent)];
    if (!holder.bOk || nDepth > kMaxDepth)
        return;
    const std::wstring strBase = holder.strUrl;
    for (const std::wstring& strSrc :
         CHtmlPage(holder.strHtml, holder.strCompatible).FrameSources()) {
        if (state.vecFrames.size() >= kMaxFrames)
            return;
        const int nFrame = static_cast<int>(state.vecFrames.size());
        state.vecFrames.emplace_back();
        state.vecFrames.back().nParent = nParent;
        Fetch(state, Resolve(strBase, strSrc), state.vecFrames.back());
        FetchFrames(state, nFrame, nDepth + 1);
    }
}

void CPageFetch::Fetch(CState& state, const std::wstring& strUrl, CPage& page) {
    page.strUrl = strUrl;
    HINTERNET hNet;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        hNet = state.hNet;
        if (!hNet)
            return;
    }
    // A cancel closes the session under the lock, which aborts this call.
    HINTERNET hUrl = InternetOpenUrlW(hNet, strUrl.c_str(), nullptr, 0,
                                      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                          INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES,
                                      0);
    if (!hUrl) {
        CCallLog::Write("GET %s: failed (error %lu)", CCallLog::Utf8(strUrl.c_str()).c_str(),
                        GetLastError());
        return;
    }
    DWORD nStatus = 0, nSize = sizeof nStatus;
    HttpQueryInfoW(hUrl, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &nStatus, &nSize,
                   nullptr);
    wchar_t szType[256] = L"";
    nSize = sizeof szType;
    HttpQueryInfoW(hUrl, HTTP_QUERY_CONTENT_TYPE, szType, &nSize, nullptr);
    wchar_t szCompatible[256] = L"X-UA-Compatible";
    nSize = sizeof szCompatible;
    if (HttpQueryInfoW(hUrl, HTTP_QUERY_CUSTOM, szCompatible, &nSize, nullptr))
        page.strCompatible = szCompatible;
    wchar_t szFinal[INTERNET_MAX_URL_LENGTH];
    nSize = sizeof szFinal;
    if (InternetQueryOptionW(hUrl, INTERNET_OPTION_URL, szFinal, &nSize))
        page.strUrl = szFinal;
    std::string strBytes;
    char buffer[4096];
    DWORD nRead = 0;
    while (InternetReadFile(hUrl, buffer, sizeof buffer, &nRead) && nRead > 0)
        strBytes.append(buffer, nRead);
    InternetCloseHandle(hUrl);

    std::string strCharset = CHtmlCharset::Charset(CCallLog::Utf8(szType));
    if (strCharset.empty())
        strCharset = CHtmlCharset::Charset(strBytes.substr(0, 1024));
    page.strHtml = Decode(strBytes, static_cast<UINT>(CHtmlCharset::CodePage(strCharset)));
    page.nStatus = nStatus;
    // An error answer with a long enough page of its own shows that page.
    page.bOk = nStatus != 0 && !CFriendlyError::ReplacesAnswer(nStatus, strBytes.size());
    CCallLog::Write(
        "GET %s: %lu, %u bytes, charset %s", CCallLog::Utf8(page.strUrl.c_str()).c_str(), nStatus,
        static_cast<unsigned>(strBytes.size()), strCharset.empty() ? "(none)" : strCharset.c_str());
}
