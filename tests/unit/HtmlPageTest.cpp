// The stand-in browser's page reading: outer HTML as the control gives it for
// simple pages, body, visible text, frames, meta refresh, charset.
#include "tools/standin/HtmlPage.h"

#include <gtest/gtest.h>

TEST(HtmlPageTest, OuterHtmlCapitalisesTagNamesAndKeepsTheRestAsServed) {
    const CHtmlPage page(L"<!DOCTYPE html>\n<!-- top --><html lang=\"ko\"><head><title>t</title>"
                         L"</head>\n<body class=x>y|ok|<!-- c --></body></html>\ntrailing");
    EXPECT_EQ(L"<HTML lang=\"ko\"><HEAD><TITLE>t</TITLE></HEAD>\n<BODY class=x>y|ok|<!-- c -->"
              L"</BODY></HTML>",
              page.OuterHtml());
    EXPECT_EQ(L"<BODY class=x>y|ok|<!-- c --></BODY>", page.BodyOuterHtml());
}

TEST(HtmlPageTest, PageWithoutRootOrBodyTags) {
    EXPECT_EQ(L"<HTML><BODY>a</BODY></HTML>",
              CHtmlPage(L"<!doctype html><body>a</body>").OuterHtml());
    const CHtmlPage bare(L"y|ok|");
    EXPECT_EQ(L"<HTML>y|ok|</HTML>", bare.OuterHtml());
    EXPECT_EQ(L"", bare.BodyOuterHtml());
    EXPECT_EQ(L"y|ok|", bare.Text());
}

TEST(HtmlPageTest, ScriptTextIsNotTagsAndTextReadsAsShown) {
    const CHtmlPage page(L"<html><head><title>T</title><script>if (a<b) x=\"</p>\";</script></head>"
                         L"<body>  카드사   설치\n<br>완료 <a href='x'>링크</a></body></html>");
    EXPECT_EQ(L"카드사 설치\n완료 링크", page.Text());
    EXPECT_NE(std::wstring::npos, page.OuterHtml().find(L"<SCRIPT>if (a<b) x=\"</p>\";</SCRIPT>"));
}

TEST(HtmlPageTest, FramesAndMetaRefresh) {
    const CHtmlPage page(
        L"<html><head><meta http-equiv=\"REFRESH\" content=\"2; URL='next.html?a=1'\">"
        L"</head><body><iframe src=\"f.html\"></iframe><IFRAME SRC=g.html>"
        L"<iframe></iframe></body></html>");
    int nSeconds = -1;
    std::wstring strUrl;
    ASSERT_TRUE(page.Refresh(nSeconds, strUrl));
    EXPECT_EQ(2, nSeconds);
    EXPECT_EQ(L"next.html?a=1", strUrl);
    EXPECT_EQ((std::vector<std::wstring>{L"f.html", L"g.html"}), page.FrameSources());
    EXPECT_FALSE(CHtmlPage(L"<meta http-equiv=\"Content-Type\" content=\"text/html\">")
                     .Refresh(nSeconds, strUrl));
}

TEST(HtmlPageTest, CharsetFromAContentTypeOrThePageBytes) {
    EXPECT_EQ("euc-kr", CHtmlPage::Charset("text/html; charset=EUC-KR"));
    EXPECT_EQ("utf-8", CHtmlPage::Charset("<meta charset=\"UTF-8\"><title>"));
    EXPECT_EQ("", CHtmlPage::Charset("text/html"));
}
