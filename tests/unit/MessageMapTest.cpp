#include "framework/CmdTarget.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CBaseTarget : public CCmdTarget {
public:
    std::string m_strCalls;
    virtual void OnOK() { m_strCalls += "base-ok;"; }
    void OnRange() { m_strCalls += "range;"; }
    void OnShared() { m_strCalls += "base-shared;"; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
ON_COMMAND(1, OnOK)
ON_COMMAND(50, OnShared){WM_COMMAND, 0,         200,
                         209,        AfxSig_vv, static_cast<AFX_PMSG>(&ThisClass::OnRange)},
    END_MESSAGE_MAP()

        class CDerivedTarget : public CBaseTarget {
public:
    void OnOK() override { m_strCalls += "derived-ok;"; }
    void OnBtnStart() { m_strCalls += "start;"; }
    void OnSelChange() { m_strCalls += "selchange;"; }
    void OnShared2() { m_strCalls += "derived-shared;"; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
ON_STN_CLICKED(1001, OnBtnStart)
ON_CONTROL(1, 1008, OnSelChange)
ON_COMMAND(50, OnShared2)
END_MESSAGE_MAP()

} // namespace

TEST(MessageMapTest, RoutesByIdAndNotificationCode) {
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(1001, 0));
    EXPECT_FALSE(target.OnCmdMsg(1001, 1)); // another code of the same control
    EXPECT_TRUE(target.OnCmdMsg(1008, 1));
    EXPECT_FALSE(target.OnCmdMsg(1008, 0));
    EXPECT_FALSE(target.OnCmdMsg(1002, 0)); // no entry at all
    EXPECT_EQ("start;selchange;", target.m_strCalls);
}

TEST(MessageMapTest, SearchesTheBaseChainAfterTheClassOwnEntries) {
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(50, 0));  // derived entry hides the base one
    EXPECT_TRUE(target.OnCmdMsg(205, 0)); // base range entry
    EXPECT_FALSE(target.OnCmdMsg(210, 0));
    EXPECT_EQ("derived-shared;range;", target.m_strCalls);
}

TEST(MessageMapTest, BaseEntryCallsTheVirtualOverride) {
    CDerivedTarget derived;
    CBaseTarget base;
    EXPECT_TRUE(derived.OnCmdMsg(1, 0));
    EXPECT_TRUE(base.OnCmdMsg(1, 0));
    EXPECT_EQ("derived-ok;", derived.m_strCalls);
    EXPECT_EQ("base-ok;", base.m_strCalls);
}

TEST(MessageMapTest, FindsWindowMessagesWithoutIds) {
    static const AFX_MSGMAP_ENTRY entries[] = {
        {0x0113, 0, 0, 0, AfxSig_vw, nullptr},
        {0, 0, 0, 0, AfxSig_end, nullptr},
    };
    static const AFX_MSGMAP map = {nullptr, entries};
    EXPECT_EQ(&entries[0], CCmdTarget::FindMessageEntry(&map, 0x0113, 0, 0));
    EXPECT_EQ(nullptr, CCmdTarget::FindMessageEntry(&map, 0x0014, 0, 0));
}
