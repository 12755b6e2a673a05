// How the stand-in loads a page, as the control does: a frame completes as
// soon as it has arrived, while its page may still be arriving (KB180366,
// the page last); an answer the headers let be cached is answered from the
// cache next time, one that forbids it is fetched again (KB234067); cookies
// are kept and sent.
#include "tests/win/StandinBrowserFixture.h"

#include <wininet.h>

#include <string>
#include <vector>

namespace {

using StandinLoadTest = StandinBrowserFixture;

const size_t kNpos = std::wstring::npos;
const wchar_t kLateTail[] = L"<P>결제 결과를 확인했습니다.</P>";

TEST_F(StandinLoadTest, MarkerFrameCompletesWhileItsPageIsStillArriving) {
    // What a DocumentComplete handler reads of the page at that moment.
    std::vector<std::wstring> vecStates, vecHtml;
    m_pSink->m_onDocumentComplete = [&](const CTestSink::CEvent&) {
        vecStates.push_back(ReadyState(m_pDisp));
        vecHtml.push_back(OuterHtml(m_pDisp));
    };
    NavigateTo(L"QEL_pay_done.html?flow=late");
    ASSERT_TRUE(WaitForEvents(2));
    m_pSink->m_onDocumentComplete = nullptr;
    ASSERT_EQ(2u, m_pSink->m_vecEvents.size());
    EXPECT_FALSE(IsTop(m_pSink->m_vecEvents[0]));
    EXPECT_EQ(m_strBase + L"wizard_result.html?flow=late", m_pSink->m_vecEvents[0].strUrl);
    EXPECT_TRUE(IsTop(m_pSink->m_vecEvents[1]));
    EXPECT_EQ((std::vector<std::wstring>{L"interactive", L"complete"}), vecStates);
    // At the frame's completion: the page as far as its frame, its open
    // elements closed by the serialisation; the tail only at the end (its <P>
    // a block, so after a line break).
    ASSERT_EQ(2u, vecHtml.size());
    EXPECT_NE(kNpos, vecHtml[0].find(L"<BODY>y|ok|<IFRAME src=\"wizard_result.html?flow=late\""));
    EXPECT_NE(kNpos, vecHtml[0].find(L"></IFRAME></BODY></HTML>"));
    EXPECT_EQ(kNpos, vecHtml[0].find(kLateTail));
    EXPECT_NE(kNpos, vecHtml[1].find(std::wstring(L"</IFRAME>\r\n") + kLateTail + L"</BODY>"));
    // The page's NavigateComplete2 first, then the frame's two events, the page's last.
    std::vector<DISPID> vecLoad;
    for (const CTestSink::CFired& fired : m_pSink->m_vecFired) {
        if (fired.dispid == 252 || fired.dispid == 259)
            vecLoad.push_back(fired.dispid);
    }
    EXPECT_EQ((std::vector<DISPID>{252, 252, 259, 259}), vecLoad);
}

class StandinCacheTest : public StandinBrowserFixture {
protected:
    // The result page's text after each of two navigations to it.
    std::vector<std::wstring> TwoLoads(const std::wstring& strPage) {
        DeleteUrlCacheEntryW((m_strBase + strPage).c_str());
        std::vector<std::wstring> vecHtml;
        for (size_t i = 1; i <= 2; ++i) {
            NavigateTo(strPage);
            if (!WaitForEvents(i))
                break;
            vecHtml.push_back(OuterHtml(m_pDisp));
        }
        DeleteUrlCacheEntryW((m_strBase + strPage).c_str());
        return vecHtml;
    }
};

const wchar_t kFailed[] = L"<BODY>n|";
const wchar_t kPassed[] = L"<BODY>y|ok|</BODY>";

// The server's verdict changes between the two loads (the first fails).
TEST_F(StandinCacheTest, ResultPageTheHeadersLetBeCachedIsReadFromTheCacheNextTime) {
    const std::vector<std::wstring> vecHtml = TwoLoads(L"wizard_result.html?flow=cached");
    ASSERT_EQ(2u, vecHtml.size());
    EXPECT_NE(kNpos, vecHtml[0].find(kFailed));
    EXPECT_NE(kNpos, vecHtml[1].find(kFailed)) << "the second load asked the server";
}

TEST_F(StandinCacheTest, ResultPageWithTheContractsHeadersIsFetchedAgain) {
    const std::vector<std::wstring> vecHtml = TwoLoads(L"wizard_result.html?flow=rerun");
    ASSERT_EQ(2u, vecHtml.size());
    EXPECT_NE(kNpos, vecHtml[0].find(kFailed));
    EXPECT_NE(kNpos, vecHtml[1].find(kPassed));
}

// The control keeps the cookies a page sets and sends them with the next request.
TEST_F(StandinLoadTest, CookieSetByAPageIsSentWithTheNext) {
    NavigateTo(L"cookie.html");
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_NE(kNpos, OuterHtml(m_pDisp).find(L"<BODY>none</BODY>"));
    NavigateTo(L"cookie.html");
    ASSERT_TRUE(WaitForEvents(2));
    EXPECT_NE(kNpos, OuterHtml(m_pDisp).find(L"<BODY>qel_visit=1</BODY>"));
}

} // namespace
