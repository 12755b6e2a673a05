// Resource-backed CString members against the program's own string table.
#include "tests/win/WinTestApp.h"

#include "framework/String.h"
#include "res/resource.h"

#include <gtest/gtest.h>

TEST(StringResTest, LoadsInTheAnsiCodePageAndFindsNothingForAMissingId) {
    CString text("stale");
    EXPECT_FALSE(text.LoadString(IDS_ABOUTBOX));
    EXPECT_TRUE(text.IsEmpty());

    ASSERT_TRUE(text.LoadString(102));
    // The literal is code-page-949 bytes; so is the loaded text under Korean Wine.
    EXPECT_EQ(CString("QelPluginWizard 정보(&A)..."), text);
}
