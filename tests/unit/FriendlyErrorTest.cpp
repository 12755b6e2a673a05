// The control's friendly-error rule: which error answers it replaces by its
// own error page, on both sides of each threshold, and that page's address.
#include "html/FriendlyError.h"

#include <gtest/gtest.h>

TEST(FriendlyErrorTest, ShortAnswersOfTheListedStatusesAreReplaced) {
    const struct {
        unsigned long nStatus;
        size_t nThreshold;
    } cases[] = {{400, 512}, {403, 256}, {404, 512}, {405, 256}, {406, 512}, {408, 512},
                 {409, 512}, {410, 256}, {500, 512}, {501, 512}, {505, 512}};
    for (const auto& c : cases) {
        EXPECT_TRUE(CFriendlyError::ReplacesAnswer(c.nStatus, 0)) << c.nStatus;
        EXPECT_TRUE(CFriendlyError::ReplacesAnswer(c.nStatus, c.nThreshold)) << c.nStatus;
        EXPECT_FALSE(CFriendlyError::ReplacesAnswer(c.nStatus, c.nThreshold + 1)) << c.nStatus;
    }
}

TEST(FriendlyErrorTest, OtherStatusesShowTheAnswerAsServed) {
    for (unsigned long nStatus :
         {200ul, 204ul, 302ul, 401ul, 402ul, 407ul, 411ul, 502ul, 503ul, 504ul}) {
        EXPECT_EQ(0u, CFriendlyError::Threshold(nStatus)) << nStatus;
        EXPECT_FALSE(CFriendlyError::ReplacesAnswer(nStatus, 0)) << nStatus;
    }
}

TEST(FriendlyErrorTest, ErrorAddressCarriesTheFailedAddress) {
    const std::wstring strUrl = L"http://127.0.0.1:8642/plugin/wizard/wizard_result.html?a=1#f";
    EXPECT_EQ(L"res://ieframe.dll/http_404.htm#" + strUrl,
              CFriendlyError::ErrorAddress(strUrl, 404));
    EXPECT_EQ(L"res://ieframe.dll/http_500.htm#" + strUrl,
              CFriendlyError::ErrorAddress(strUrl, 501));
    EXPECT_EQ(L"res://ieframe.dll/http_gen.htm#" + strUrl,
              CFriendlyError::ErrorAddress(strUrl, 403));
    EXPECT_EQ(L"res://ieframe.dll/dnserrordiagoff.htm#" + strUrl,
              CFriendlyError::ErrorAddress(strUrl, 0));
}
