// The image button's press tracking against a simulated button.
#include "skin/PressTracker.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

enum EEvent { kDown, kUp, kTick, kMove };

// A button as the platform makes it: the timer, the face shown, and a notify
// static that reports a click when a button-down is passed on.
class CFakeButton : public IPressHost {
public:
    int m_bShown = 1, m_bActive = 1;
    BOOL m_bInside = TRUE;
    bool m_bTimer = false, m_bPressedFace = false;
    int m_nTimerSets = 0, m_nClicks = 0, m_nPassedOn = 0, m_nCursors = 0, m_nRelayed = 0;
    std::function<void(CFakeButton&)> m_onClick;
    int m_nKeyClicks = 0;
    BOOL m_bKeyDown = FALSE;

    void Click() override { ++m_nKeyClicks; }
    void SetPressTimer() override {
        m_bTimer = true;
        ++m_nTimerSets;
    }
    void KillPressTimer() override { m_bTimer = false; }
    void ShowFace(BOOL bPressed) override { m_bPressedFace = bPressed != FALSE; }
    BOOL IsPointerOver() override { return m_bInside; }
    void SetHandCursor() override { ++m_nCursors; }
    void RelayToToolTip() override { ++m_nRelayed; }
    void PassOn() override {
        ++m_nPassedOn;
        if (m_event != kDown)
            return;
        ++m_nClicks;
        if (m_onClick)
            m_onClick(*this);
    }

    void Send(EEvent event) {
        m_event = event;
        if (event == kDown)
            CPressTracker::OnLButtonDown(*this, m_bShown, m_bActive);
        else if (event == kUp)
            CPressTracker::OnLButtonUp(*this, m_bShown, m_bActive);
        else if (event == kTick)
            CPressTracker::OnTimer(*this);
        else
            CPressTracker::OnMouseMove(*this, m_bShown, m_bActive);
    }
    // Pressed: pressed face and timer; idle: neither. Anything else is a fault.
    int State() const { return m_bTimer == m_bPressedFace ? m_bTimer : -1; }

private:
    EEvent m_event = kMove;
};

} // namespace

TEST(PressTrackerTest, EveryRowOfTheStateTable) {
    struct {
        const char* name;
        int nFrom;
        EEvent event;
        int bShown, bActive;
        BOOL bInside;
        int nTo, nTimerSets, nClicks, nPassedOn;
    } const rows[] = {
        {"idle, down, live", 0, kDown, 1, 1, TRUE, 1, 1, 1, 1},
        {"idle, down, hidden", 0, kDown, 0, 1, TRUE, 0, 0, 0, 0},
        {"idle, down, shown 2", 0, kDown, 2, 1, TRUE, 0, 0, 0, 0},
        {"idle, down, inert", 0, kDown, 1, 0, TRUE, 0, 0, 0, 0},
        {"idle, up, hidden", 0, kUp, 0, 1, TRUE, 0, 0, 0, 0},
        {"idle, up, inert", 0, kUp, 1, 0, TRUE, 0, 0, 0, 0},
        {"pressed, up, live", 1, kUp, 1, 1, TRUE, 0, 0, 0, 1},
        {"pressed, tick inside", 1, kTick, 1, 1, TRUE, 1, 0, 0, 1},
        {"pressed, tick outside", 1, kTick, 1, 1, FALSE, 0, 0, 0, 1},
        {"pressed, down again restarts the timer", 1, kDown, 1, 1, TRUE, 1, 1, 1, 1},
        {"pressed, up, hidden", 1, kUp, 0, 1, TRUE, 1, 0, 0, 0},
        {"pressed, up, inert", 1, kUp, 1, 3, TRUE, 1, 0, 0, 0},
    };
    for (const auto& row : rows) {
        CFakeButton btn;
        btn.m_bTimer = btn.m_bPressedFace = row.nFrom == 1;
        btn.m_bShown = row.bShown;
        btn.m_bActive = row.bActive;
        btn.m_bInside = row.bInside;
        btn.Send(row.event);
        EXPECT_EQ(row.nTo, btn.State()) << row.name;
        EXPECT_EQ(row.nTimerSets, btn.m_nTimerSets) << row.name;
        EXPECT_EQ(row.nClicks, btn.m_nClicks) << row.name;
        EXPECT_EQ(row.nPassedOn, btn.m_nPassedOn) << row.name;
    }
}

TEST(PressTrackerTest, AButtonHiddenByItsClickEndsItsPressWhenThePointerLeaves) {
    CFakeButton btn;
    int nStateDuringClick = -1;
    btn.m_onClick = [&](CFakeButton& b) {
        nStateDuringClick = b.State();
        b.m_bShown = 0;
    };
    btn.Send(kDown);
    EXPECT_EQ(1, nStateDuringClick); // pressed while the dialog handles the click
    btn.Send(kUp);                   // swallowed: the button is hidden now
    btn.Send(kTick);
    EXPECT_EQ(1, btn.State());
    btn.m_bInside = FALSE;
    btn.Send(kTick);
    EXPECT_EQ(0, btn.State());
    EXPECT_EQ(1, btn.m_nClicks);
}

TEST(PressTrackerTest, CursorAndTooltipOnlyForALiveButtonMovesAlwaysPassOn) {
    for (const auto& s : {std::make_pair(1, 1), std::make_pair(0, 1), std::make_pair(1, 0)}) {
        CFakeButton btn;
        btn.m_bShown = s.first;
        btn.m_bActive = s.second;
        btn.Send(kMove);
        CPressTracker::PreTranslate(btn, btn.m_bShown, btn.m_bActive);
        const int nLive = s.first == 1 && s.second == 1;
        EXPECT_EQ(nLive, btn.m_nCursors) << s.first << "/" << s.second;
        EXPECT_EQ(nLive, btn.m_nRelayed) << s.first << "/" << s.second;
        EXPECT_EQ(1, btn.m_nPassedOn) << s.first << "/" << s.second;
    }
}

TEST(PressTrackerTest, SpacePressesWhileDownAndClicksOnceOnRelease) {
    CFakeButton btn;
    CPressTracker::OnSpaceDown(btn, 1, 1, btn.m_bKeyDown);
    EXPECT_TRUE(btn.m_bPressedFace);
    CPressTracker::OnSpaceDown(btn, 1, 1, btn.m_bKeyDown); // the key's repeat
    EXPECT_EQ(0, btn.m_nKeyClicks);
    CPressTracker::OnSpaceUp(btn, 1, 1, btn.m_bKeyDown);
    EXPECT_FALSE(btn.m_bPressedFace);
    EXPECT_EQ(1, btn.m_nKeyClicks);
    EXPECT_EQ(0, btn.m_nTimerSets); // no polling: the key's release ends the press
    CPressTracker::OnSpaceUp(btn, 1, 1, btn.m_bKeyDown); // a release without a press
    EXPECT_EQ(1, btn.m_nKeyClicks);
}

TEST(PressTrackerTest, SpaceDoesNothingOnADeadButtonAndLosingFocusCancelsThePress) {
    for (const auto& s : {std::make_pair(0, 1), std::make_pair(1, 0), std::make_pair(2, 1)}) {
        CFakeButton btn;
        CPressTracker::OnSpaceDown(btn, s.first, s.second, btn.m_bKeyDown);
        EXPECT_FALSE(btn.m_bPressedFace) << s.first << "/" << s.second;
        CPressTracker::OnSpaceUp(btn, s.first, s.second, btn.m_bKeyDown);
        EXPECT_EQ(0, btn.m_nKeyClicks) << s.first << "/" << s.second;
    }
    CFakeButton btn;
    CPressTracker::OnSpaceDown(btn, 1, 1, btn.m_bKeyDown);
    CPressTracker::OnFocusLost(btn, btn.m_bKeyDown);
    EXPECT_FALSE(btn.m_bPressedFace);
    CPressTracker::OnSpaceUp(btn, 1, 1, btn.m_bKeyDown);
    EXPECT_EQ(0, btn.m_nKeyClicks);
    // Hidden while the key is down: the face comes back, no click.
    CPressTracker::OnSpaceDown(btn, 1, 1, btn.m_bKeyDown);
    CPressTracker::OnSpaceUp(btn, 0, 1, btn.m_bKeyDown);
    EXPECT_FALSE(btn.m_bPressedFace);
    EXPECT_EQ(0, btn.m_nKeyClicks);
}
