#include "web/NavigationScheme.h"

#include <gtest/gtest.h>

// The web's schemes in any case pass; everything a page could use to reach
// the machine or another program is refused, as is an address with no scheme.
TEST(NavigationSchemeTest, AllowsTheWebsSchemesOnly) {
    for (LPCTSTR address :
         {"http://127.0.0.1:8642/a.html", "HTTPS://example.test/", "about:blank",
          "JavaScript:void(0)", "res://ieframe.dll/http_404.htm", "  http://leading.spaces/"})
        EXPECT_TRUE(CNavigationScheme::IsAllowed(address)) << address;
    for (LPCTSTR address :
         {"file:///C:/windows/win.ini", "mk:@MSITStore:x.chm::/a.htm", "telnet://host",
          "ms-msdt:/id", "search-ms:query=x", "\\\\host\\share", "C:\\windows\\win.ini", "http", "",
          "1http://x", "ht tp://x", "httpx://x", "vbscript:msgbox(1)"})
        EXPECT_FALSE(CNavigationScheme::IsAllowed(address)) << address;
}

TEST(NavigationSchemeTest, SchemeOfIsLowerCaseAndStopsAtTheFirstColon) {
    EXPECT_EQ(CString("ms-msdt"), CNavigationScheme::SchemeOf("MS-MSDT:/id?x=http://a"));
    EXPECT_EQ(CString("c"), CNavigationScheme::SchemeOf("C:\\windows"));
    EXPECT_EQ(CString(), CNavigationScheme::SchemeOf("/relative:path"));
}
