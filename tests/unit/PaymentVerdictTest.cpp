#include "wizard/PaymentVerdict.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(PaymentVerdictTest, VerdictTable) {
    struct Case {
        const char* result;
        int verdict;
    };
    const Case cases[] = {
        {"", 0},       {"y", 1},         {"Y|done|", 1},
        {"y|", 1},     {"y|message", 1}, {"yes|message|", 0},
        {" y|", 0},    {"|y|", 0},       {"n|message|", 0},
        {"\r\ny|", 0}, {"y |", 0},       {"n|y|", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.verdict, PaymentVerdict(c.result)) << '"' << c.result << '"';
}

TEST(PaymentVerdictTest, TimeoutResultIsAFailureOf105Bytes) {
    EXPECT_EQ(105u, std::strlen(PAYTEST_TIMEOUT_RESULT));
    EXPECT_EQ(105, CString(PAYTEST_TIMEOUT_RESULT).GetLength());
    EXPECT_EQ(0, PaymentVerdict(PAYTEST_TIMEOUT_RESULT));
    EXPECT_STREQ(
        "n|MPI처리가 시간내에 완료되지 않아 처리를 종료합니다.\n\n팝업창을 닫으신 후에 다시 "
        "시도해 주시기 바랍니다.|",
        PAYTEST_TIMEOUT_RESULT);
}

TEST(PaymentVerdictTest, TakeTokenConsumesOneFieldAtATime) {
    CString text("y|abc|def|");
    EXPECT_EQ(CString("y"), TakeToken(text, "|"));
    EXPECT_EQ(CString("abc|def|"), text);
    EXPECT_EQ(CString("abc"), TakeToken(text, "|"));
    EXPECT_EQ(CString("def|"), text);
}

TEST(PaymentVerdictTest, TakeTokenEdges) {
    CString text("no separator");
    EXPECT_EQ(CString("no separator"), TakeToken(text, "|"));
    EXPECT_EQ(CString("no separator"), text);

    text = "|rest";
    EXPECT_EQ(CString(""), TakeToken(text, "|"));
    EXPECT_EQ(CString("rest"), text);

    text = "a::b::c";
    EXPECT_EQ(CString("a"), TakeToken(text, "::"));
    EXPECT_EQ(CString("b::c"), text);

    text = "end|";
    EXPECT_EQ(CString("end"), TakeToken(text, "|"));
    EXPECT_EQ(CString(""), text);
}

TEST(PaymentVerdictTest, LowerCaseLeavesKoreanAlone) {
    EXPECT_EQ(CString("abc|처리 12"), ToLower("ABC|처리 12"));
    EXPECT_EQ(0, CompareLower("Y", "y"));
    EXPECT_EQ(0, CompareLower("처리Y", "처리y"));
    EXPECT_LT(CompareLower("a", "B"), 0);
    EXPECT_GT(CompareLower("yes", "Y"), 0);
}
