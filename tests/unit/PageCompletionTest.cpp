#include "web/PageCompletion.h"
#include "web/PayTestCountdown.h"
#include "wizard/PaymentVerdict.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Records the dialog's platform calls; serves html as the top-level
// document's outer HTML, or no document.
class CPageRecorder : public IPageHost {
public:
    bool m_bDocument = true;
    CString m_strHtml;
    std::string m_calls;

    BOOL ReadDocumentHtml(CString& html) override {
        m_calls += "read;";
        if (m_bDocument)
            html = m_strHtml;
        return m_bDocument;
    }
    void TurnScrollOff() override { m_calls += "scroll;"; }
    void MoveBrowser(int x, int y, int cx, int cy) override {
        m_calls += "move:" + std::to_string(x) + "," + std::to_string(y) + "," +
                   std::to_string(cx) + "," + std::to_string(cy) + ";";
    }
    void KillTimer(UINT id) override { m_calls += "kill:" + std::to_string(id) + ";"; }
    void DefaultProcessing() override { m_calls += "default;"; }
    void EndDialog(int nResult) override { m_calls += "end:" + std::to_string(nResult) + ";"; }
};

const char kResultPage[] = "<HTML><HEAD></HEAD><BODY>y|ok|</BODY></HTML>";
const char kEnds[] = "read;end:0;";
const char kSetupShow[] = "scroll;move:29,63,290,60;";
const char kPayShow[] = "scroll;move:0,0,495,310;";

std::string Complete(const CPageCompletion& completion, LPCTSTR address) {
    CPageRecorder host;
    host.m_strHtml = kResultPage;
    CString strResult;
    completion.OnDocumentComplete(host, address, strResult);
    return host.m_calls;
}

} // namespace

TEST(PageCompletionTest, EndMarkersOfEachDialog) {
    struct Case {
        const char* address;
        const char* setup;
        const char* pay;
    };
    const Case cases[] = {
        {"http://127.0.0.1/wizard_install.html", kEnds, kEnds},
        {"http://127.0.0.1/wizard_result.html?r=y", kSetupShow, kEnds},
        {"http://127.0.0.1/WIZARD_INSTALL.html", kSetupShow, kPayShow},
        {"http://127.0.0.1/Wizard_Result.html", kSetupShow, kPayShow},
        {"wizard_install.html", kSetupShow, kPayShow}, // position 0 does not count
        {"wizard_result/wizard_install", kEnds, kEnds},
        {"wizard_result/page", kSetupShow, kPayShow},
        {"http://127.0.0.1/plugin/wizard/wizard_setup.html", kSetupShow, kPayShow},
        {"", kSetupShow, kPayShow},
        {nullptr, kSetupShow, kPayShow},
    };
    for (const Case& c : cases) {
        const char* address = c.address ? c.address : "(null)";
        EXPECT_EQ(c.setup, Complete(CPageCompletion::SetupPage(), c.address)) << address;
        EXPECT_EQ(c.pay, Complete(CPageCompletion::PayTest(), c.address)) << address;
    }
}

TEST(PageCompletionTest, MarkerPageGivesItsBodyText) {
    CPageRecorder host;
    host.m_strHtml = kResultPage;
    CString strResult("old");
    CPageCompletion::PayTest().OnDocumentComplete(host, "http://h/wizard_result.html", strResult);
    EXPECT_EQ(CString("y|ok|"), strResult);
    EXPECT_EQ(1, PaymentVerdict(strResult));

    // No document (or none with a root element): the text stays, the dialog ends.
    host = CPageRecorder();
    host.m_bDocument = false;
    CPageCompletion::SetupPage().OnDocumentComplete(host, "http://h/wizard_install", strResult);
    EXPECT_EQ(CString("y|ok|"), strResult);
    EXPECT_EQ(kEnds, host.m_calls);
}

TEST(PageCompletionTest, BodyTextIsTakenByteForByte) {
    struct Case {
        const char* html;
        const char* body;
    };
    const Case cases[] = {
        {kResultPage, "y|ok|"},
        {"<HTML><BODY class=\"r\">y|ok|</BODY></HTML>", ""},
        {"<html><body>y|ok|</body></html>", ""},
        {"<HTML><BODY></BODY></HTML>", ""},
        {"<HTML><BODY>y|ok|", ""},
        {"<HTML></BODY><BODY>y|</BODY></HTML>", "y|"},
        {"<BODY>a</BODY>b</BODY>", "a"},
        {"<BODY>\r\ny|ok|</BODY>", "\r\ny|ok|"},
        {"<BODY><P>y|&amp; 처리</P> </BODY>", "<P>y|&amp; 처리</P> "},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.body), CPageCompletion::BodyText(c.html)) << c.html;

    const std::string text(100000 - 13, 'x');
    const CString strBody = CPageCompletion::BodyText(("<BODY>" + text + "</BODY>").c_str());
    EXPECT_EQ(static_cast<int>(text.size()), strBody.GetLength());
    EXPECT_EQ(CString(text.c_str()), strBody);
}

TEST(PageCompletionTest, EveryOtherPageIsScrolledOffThenShown) {
    CPageRecorder host;
    CString strResult("kept");
    for (const char* address : {"http://h/a.html", "http://h/frame.html", "http://h/b.html"})
        CPageCompletion::PayTest().OnDocumentComplete(host, address, strResult);
    EXPECT_EQ(std::string(kPayShow) + kPayShow + kPayShow, host.m_calls);
    EXPECT_EQ(CString("kept"), strResult);
}

TEST(PayTestCountdownTest, TimesOutOnTheTickAfterTheLast) {
    CPageRecorder host;
    CString strResult;
    int nCountdown = CPayTestCountdown::TICKS;
    for (int i = 0; i < 180; ++i)
        CPayTestCountdown::OnTick(nCountdown, strResult, host);
    EXPECT_EQ(0, nCountdown);
    EXPECT_EQ(CString(), strResult);
    EXPECT_EQ(std::string::npos, host.m_calls.find("end"));

    host.m_calls.clear();
    CPayTestCountdown::OnTick(nCountdown, strResult, host);
    EXPECT_EQ("kill:1;default;end:0;", host.m_calls);
    EXPECT_EQ(CString(PAYTEST_TIMEOUT_RESULT), strResult);
    EXPECT_EQ(105, strResult.GetLength());
    EXPECT_EQ(0, PaymentVerdict(strResult));
}
