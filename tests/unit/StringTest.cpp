#include "framework/String.h"

#include <gtest/gtest.h>

TEST(CStringTest, MidClampsLikeTheClassLibrary) {
    const CString text("abcdef");
    EXPECT_EQ(CString("cd"), text.Mid(2, 2));
    EXPECT_EQ(CString(""), text.Mid(2, -1));
    EXPECT_EQ(CString("ab"), text.Mid(-3, 2));
    EXPECT_EQ(CString("ef"), text.Mid(4, 100));
    EXPECT_EQ(CString(""), text.Mid(6, 1));
    EXPECT_EQ(CString(""), text.Mid(9, 1));
    EXPECT_EQ(CString("def"), text.Mid(3));
}

TEST(CStringTest, FindFromStartPosition) {
    const CString text("<BODY>y|ok|</BODY>");
    EXPECT_EQ(0, text.Find("<BODY>"));
    EXPECT_EQ(11, text.Find("</BODY>", 0));
    EXPECT_EQ(11, text.Find("</BODY>", 11));
    EXPECT_EQ(-1, text.Find("</BODY>", 12));
    EXPECT_EQ(-1, text.Find("<body>"));
    EXPECT_EQ(-1, text.Find("x", -1));
    EXPECT_EQ(-1, text.Find("x", 99));
    EXPECT_EQ(7, text.Find('|', 7));
    EXPECT_EQ(-1, CString().Find("a"));
    EXPECT_EQ(0, CString().Find(""));
}

TEST(CStringTest, FindNeverMatchesATrailByte) {
    // "걓" is 81 79 in code page 949: its trail byte is the letter y.
    const CString text("걓|y");
    ASSERT_EQ(4, text.GetLength());
    EXPECT_EQ(3, text.Find("y"));
    EXPECT_EQ(2, text.Find("|"));
}

TEST(CStringTest, MakeLowerKeepsDoubleByteCharacters) {
    // "갂" is 81 41 in code page 949: its trail byte is the letter A.
    CString text("Y|갂가ABC");
    const CString before = text;
    text.MakeLower();
    EXPECT_EQ('y', text.GetAt(0));
    EXPECT_EQ(before.Mid(2, 4), text.Mid(2, 4));
    EXPECT_EQ(CString("abc"), text.Mid(6));
    EXPECT_EQ(CString("Y|갂가ABC"), before);
}

TEST(CStringTest, ConcatenationAndComparison) {
    CString folder("C:\\Program Files");
    folder = folder + "\\NORVANE";
    folder = folder + "\\QELWallet";
    EXPECT_EQ(CString("C:\\Program Files\\NORVANE\\QELWallet"), folder);
    EXPECT_TRUE(CString("a") < CString("b"));
    EXPECT_NE(CString("a"), "A");
    EXPECT_EQ(CString(), "");
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_EQ(3, CString("a\xB0\xA1").GetLength());
}

TEST(CStringTest, BufferRoundTrip) {
    CString text;
    char* buffer = text.GetBuffer(260);
    buffer[0] = 'C';
    buffer[1] = ':';
    buffer[2] = 0;
    text.ReleaseBuffer();
    EXPECT_EQ(CString("C:"), text);
}
