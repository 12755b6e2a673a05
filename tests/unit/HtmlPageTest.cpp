// The stand-in browser's page tree: outer HTML as the control serialises it,
// and the result text the page dialogs then extract from it; body, visible
// text, frames, meta refresh, charset.
#include "html/HtmlCharset.h"
#include "html/HtmlPage.h"
#include "html/HtmlReferences.h"
#include "web/PageCompletion.h"

#include <gtest/gtest.h>

namespace {

// The result text a page dialog reads from a served (ASCII) page.
std::string Extracted(const wchar_t* pszServed, const wchar_t* pszCompatible = L"") {
    const std::wstring strOuter = CHtmlPage(pszServed, pszCompatible).OuterHtml();
    const CString strResult =
        CPageCompletion::BodyText(CString(std::string(strOuter.begin(), strOuter.end()).c_str()));
    return std::string(static_cast<LPCTSTR>(strResult));
}

} // namespace

TEST(HtmlPageTest, MissingRootHeadAndBodyAreImplied) {
    const struct {
        const wchar_t* pszServed;
        const wchar_t* pszOuter;
    } cases[] = {
        {L"<html>y|ok|</html>", L"<HTML><HEAD></HEAD>\r\n<BODY>y|ok|</BODY></HTML>"},
        {L"y|ok|", L"<HTML><HEAD></HEAD>\r\n<BODY>y|ok|</BODY></HTML>"},
        {L"<html></html>", L"<HTML><HEAD></HEAD>\r\n<BODY></BODY></HTML>"},
        {L"<!doctype html><title>T</title>\n <meta name=a content=b>\n<p>x",
         L"<HTML><HEAD><TITLE>T</TITLE><META name=a content=b></HEAD>\r\n<BODY>\r\n<P>x</P></BODY>"
         L"</HTML>"},
        {L"<html><body>y|ok|", L"<HTML><HEAD></HEAD>\r\n<BODY>y|ok|</BODY></HTML>"},
        {L"<html><body>a</body></html>\r\n tail",
         L"<HTML><HEAD></HEAD>\r\n<BODY>a\r\n tail</BODY></HTML>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.pszOuter, CHtmlPage(c.pszServed).OuterHtml()) << c.pszServed;
}

TEST(HtmlPageTest, OuterHtmlIsWrittenFromTheTree) {
    const CHtmlPage page(
        L"<!DOCTYPE html>\n<!-- top --><html lang=\"ko\"><head><title>t &amp; u</title></head>\n"
        L"<body >&#89;|ok|<!-- c --><a href='a.html?x=1&amp;y=\"2\"' ID=\"n-1\" hidden>&lt;"
        L"&nbsp;</A><br/><ul><li>1<li>2</ul><table><tr><td>c</table></body></html>");
    EXPECT_EQ(L"<HTML lang=ko><HEAD><TITLE>t &amp; u</TITLE></HEAD>\r\n<BODY>Y|ok|<!-- c -->"
              L"<A href=\"a.html?x=1&amp;y=&quot;2&quot;\" id=n-1 hidden>&lt;&nbsp;</A><BR>"
              L"\r\n<UL>\r\n<LI>1</LI>\r\n<LI>2</LI></UL>\r\n<TABLE>\r\n<TBODY>\r\n<TR>\r\n"
              L"<TD>c</TD></TR></TBODY></TABLE>"
              L"</BODY></HTML>",
              page.OuterHtml());
    EXPECT_EQ(7, page.DocumentMode());
    EXPECT_FALSE(page.IsFrameset());
    EXPECT_EQ(0u, page.BodyOuterHtml().find(L"<BODY>Y|ok|"));
}

// The default modes write each block-level start tag on a line of its own and
// drop the quotes of values that need none; modern modes write the tree as parsed.
TEST(HtmlPageTest, LegacyWritesBlocksOnTheirOwnLineAndPlainValuesUnquoted) {
    const wchar_t kBody[] = L"<body><div class=\"a b\" id='x' title=''><span>s</span><h1>h</h1>"
                            L"<form action=\"/pay?x=1\"><input type=\"hidden\" value=\"1.5\">"
                            L"</form><pre>p</pre>t<hr></div></body>";
    EXPECT_EQ(L"<BODY>\r\n<DIV class=\"a b\" id=x title=\"\"><SPAN>s</SPAN>\r\n<H1>h</H1>\r\n"
              L"<FORM action=\"/pay?x=1\"><INPUT type=hidden value=1.5></FORM>\r\n<PRE>p</PRE>t"
              L"\r\n<HR></DIV></BODY>",
              CHtmlPage(kBody).BodyOuterHtml());
    EXPECT_EQ(L"<body><div class=\"a b\" id=\"x\" title=\"\"><span>s</span><h1>h</h1>"
              L"<form action=\"/pay?x=1\"><input type=\"hidden\" value=\"1.5\"></form>"
              L"<pre>p</pre>t<hr></div></body>",
              CHtmlPage(kBody, L"IE=edge").BodyOuterHtml());
}

TEST(HtmlPageTest, ModernDocumentModesWriteLowerCase) {
    const wchar_t kMeta[] = L"<html><head><meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">"
                            L"</head><body class=x>y|<b>ok</b>|</body></html>";
    const CHtmlPage modern(kMeta);
    EXPECT_EQ(11, modern.DocumentMode());
    EXPECT_EQ(L"<html><head><meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\"></head>"
              L"<body class=\"x\">y|<b>ok</b>|</body></html>",
              modern.OuterHtml());
    EXPECT_EQ(9, CHtmlPage(L"<body>y|ok|</body>", L"IE=9").DocumentMode());
    EXPECT_EQ(8, CHtmlPage(L"<meta http-equiv=x-ua-compatible content=\"IE=8\">", L"IE=edge")
                     .DocumentMode());
    EXPECT_EQ(10, CHtmlPage::CompatibleMode(L"IE=8; IE=EmulateIE10"));
    EXPECT_EQ(0, CHtmlPage::CompatibleMode(L"chrome=1"));
}

TEST(HtmlPageTest, ConditionalCommentsFollowTheDocumentMode) {
    const wchar_t kPage[] =
        L"<body><!--[if IE]>a<![endif]--><!--[if lt IE 7]>b<![endif]-->"
        L"<!--[if (gte IE 7)&!(IE 9)]><i>c</i><![endif]--><![if !IE]>d<![endif]>"
        L"<!-- plain --></body>";
    EXPECT_EQ(L"<BODY>a<!--[if lt IE 7]>b<![endif]--><I>c</I><!-- plain --></BODY>",
              CHtmlPage(kPage).BodyOuterHtml());
    EXPECT_EQ(L"<body>a<!--[if lt IE 7]>b<![endif]--><!--[if (gte IE 7)&!(IE 9)]><i>c</i>"
              L"<![endif]--><!-- plain --></body>",
              CHtmlPage(kPage, L"IE=9").BodyOuterHtml());
    EXPECT_EQ(L"<body><!--[if IE]>a<![endif]--><!--[if lt IE 7]>b<![endif]-->"
              L"<!--[if (gte IE 7)&!(IE 9)]><i>c</i><![endif]-->d<!-- plain --></body>",
              CHtmlPage(kPage, L"IE=10").BodyOuterHtml());
}

TEST(HtmlPageTest, FramesetPageHasNoBody) {
    const CHtmlPage page(L"<html><head><title>f</title></head><frameset rows=\"50%,*\">"
                         L"<frame src=a.html><frame src=\"b.html\"></frameset></html>");
    EXPECT_TRUE(page.IsFrameset());
    EXPECT_EQ(L"<FRAMESET rows=\"50%,*\"><FRAME src=a.html><FRAME src=b.html></FRAMESET>",
              page.BodyOuterHtml());
    EXPECT_EQ(std::wstring::npos, page.OuterHtml().find(L"BODY"));
    EXPECT_EQ((std::vector<std::wstring>{L"a.html", L"b.html"}), page.FrameSources());
}

// What the page dialogs extract from a served page, through the control's serialisation.
TEST(HtmlPageTest, ResultTextThroughTheControlsOuterHtml) {
    const struct {
        const wchar_t* pszServed;
        const wchar_t* pszCompatible;
        const char* pszResult;
    } cases[] = {
        {L"<HTML><HEAD></HEAD><BODY>y|ok|</BODY></HTML>", L"", "y|ok|"},
        {L"<HTML>y|ok|</HTML>", L"", "y|ok|"},
        {L"<html><body>y|ok|</body></html>", L"", "y|ok|"},
        {L"<html><body bgcolor=white>y|ok|</body></html>", L"", ""},
        {L"<html><body>y|ok|</body></html>", L"IE=edge", ""},
        {L"<html><body></body></html>", L"", ""},
        {L"<html><body>y|ok|", L"", "y|ok|"},
        {L"<html><body>\ny|ok|</body></html>", L"", "\ny|ok|"},
        {L"<body>&#121;|ok&#124;</body>", L"", "y|ok|"},
        {L"<body>y|<b>ok</b>|</body>", L"", "y|<B>ok</B>|"},
        {L"<frameset><frame src=r.html></frameset>", L"", ""},
        {L"<body><p>y|ok|</p></body>", L"", "\r\n<P>y|ok|</P>"},
        {L"<body>y|ok|<div>paid</div></body>", L"", "y|ok|\r\n<DIV>paid</DIV>"},
        {L"<body>y|ok|<iframe src=\"wizard_result.html\" width=\"0\"></iframe></body>", L"",
         "y|ok|<IFRAME src=wizard_result.html width=0></IFRAME>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.pszResult, Extracted(c.pszServed, c.pszCompatible)) << c.pszServed;
}

// A page nested far deeper than any real one is read and written out whole.
TEST(HtmlPageTest, DeepNestingStaysReadable) {
    std::wstring strPage = L"<body>";
    for (int i = 0; i < 100000; ++i)
        strPage += L"<div>";
    strPage += L"y|ok|";
    const CHtmlPage page(strPage);
    EXPECT_EQ(0u, page.BodyOuterHtml().find(L"<BODY>\r\n<DIV>\r\n<DIV>"));
    EXPECT_NE(std::wstring::npos, page.BodyOuterHtml().find(L"y|ok|</DIV>"));
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

// HTML 4's 252 names, from each of its three sets, case-sensitive and with
// their ';'; anything else stays as written.
TEST(HtmlPageTest, NamedReferencesAreHtml4s) {
    EXPECT_EQ(std::wstring(L"\u00C0\u00E0\u00FF\u0152\u02DC\u2002\u200D\u20AC\u03D1\u2666"
                           L"\u00A0&<>\""),
              CHtmlReferences::Decode(L"&Agrave;&agrave;&yuml;&OElig;&tilde;&ensp;&zwj;&euro;"
                                      L"&thetasym;&diams;&nbsp;&amp;&lt;&gt;&quot;"));
    EXPECT_EQ(L"&apos; &Amp; &AMP; &copy &unknown; &thetasymx; & ;",
              CHtmlReferences::Decode(L"&apos; &Amp; &AMP; &copy &unknown; &thetasymx; & ;"));
    EXPECT_EQ(L"<BODY>y|\u00A9 &amp; \u00AE|</BODY>",
              CHtmlPage(L"<body>y|&copy; &amp; &reg;|</body>").BodyOuterHtml());
}

TEST(HtmlPageTest, CharsetFromAContentTypeOrThePageBytes) {
    EXPECT_EQ("euc-kr", CHtmlCharset::Charset("text/html; charset=EUC-KR"));
    EXPECT_EQ("utf-8", CHtmlCharset::Charset("<meta charset=\"UTF-8\"><title>"));
    EXPECT_EQ("", CHtmlCharset::Charset("text/html"));
}
