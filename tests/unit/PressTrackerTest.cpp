// The image button's press tracking against a simulated button.
#include "skin/PressTracker.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

enum EEvent { kDown, kUp, kTick, kMove };

// A button as the platform would make it: the timer, the face shown, and a
// notify static that reports a click when a button-down is passed on.
class CFakeButton : public IPressHost {
public:
    int m_bShown = 1;
    int m_bActive = 1;
    BOOL m_bInside = TRUE;

    bool m_bTimer = false;
    int m_nTimerSets = 0;
    bool m_bPressedFace = false;
    int m_nClicks = 0;
    int m_nPassedOn = 0;
    int m_nCursors = 0;
    int m_nRelayed = 0;
    std::function<void(CFakeButton&)> m_onClick;

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
        if (m_event == kDown) {
            ++m_nClicks;
            if (m_onClick)
                m_onClick(*this);
        }
    }

    void Send(EEvent event) {
        m_event = event;
        switch (event) {
        case kDown:
            CPressTracker::OnLButtonDown(*this, m_bShown, m_bActive);
            break;
        case kUp:
            CPressTracker::OnLButtonUp(*this, m_bShown, m_bActive);
            break;
        case kTick:
            CPressTracker::OnTimer(*this);
            break;
        case kMove:
            CPressTracker::OnMouseMove(*this, m_bShown, m_bActive);
            break;
        }
    }
    bool Pressed() const { return m_bTimer && m_bPressedFace; }
    bool Idle() const { return !m_bTimer && !m_bPressedFace; }

private:
    EEvent m_event = kMove;
};

struct SRow {
    const char* name;
    bool bStartPressed;
    EEvent event;
    int bShown, bActive;
    BOOL bInside;
    bool bEndPressed;
    int nTimerSets; // during the event
    int nClicks;
    int nPassedOn;
};

} // namespace

TEST(PressTrackerTest, EveryRowOfTheStateTable) {
    const SRow rows[] = {
        {"idle, down, live", false, kDown, 1, 1, TRUE, true, 1, 1, 1},
        {"idle, down, hidden", false, kDown, 0, 1, TRUE, false, 0, 0, 0},
        {"idle, down, shown 2", false, kDown, 2, 1, TRUE, false, 0, 0, 0},
        {"idle, down, inert", false, kDown, 1, 0, TRUE, false, 0, 0, 0},
        {"idle, up, hidden", false, kUp, 0, 1, TRUE, false, 0, 0, 0},
        {"idle, up, inert", false, kUp, 1, 0, TRUE, false, 0, 0, 0},
        {"pressed, up, live", true, kUp, 1, 1, TRUE, false, 0, 0, 1},
        {"pressed, tick inside", true, kTick, 1, 1, TRUE, true, 0, 0, 1},
        {"pressed, tick outside", true, kTick, 1, 1, FALSE, false, 0, 0, 1},
        {"pressed, down again restarts the timer", true, kDown, 1, 1, TRUE, true, 1, 1, 1},
        {"pressed, up, hidden", true, kUp, 0, 1, TRUE, true, 0, 0, 0},
        {"pressed, up, inert", true, kUp, 1, 3, TRUE, true, 0, 0, 0},
    };
    for (const SRow& row : rows) {
        CFakeButton btn;
        btn.m_bTimer = btn.m_bPressedFace = row.bStartPressed;
        btn.m_bShown = row.bShown;
        btn.m_bActive = row.bActive;
        btn.m_bInside = row.bInside;
        btn.Send(row.event);
        EXPECT_EQ(row.bEndPressed, btn.Pressed()) << row.name;
        EXPECT_EQ(!row.bEndPressed, btn.Idle()) << row.name;
        EXPECT_EQ(row.nTimerSets, btn.m_nTimerSets) << row.name;
        EXPECT_EQ(row.nClicks, btn.m_nClicks) << row.name;
        EXPECT_EQ(row.nPassedOn, btn.m_nPassedOn) << row.name;
    }
}

TEST(PressTrackerTest, ClickShowsThePressedFaceWhileTheDialogHandlesIt) {
    CFakeButton btn;
    bool bPressedDuringClick = false;
    btn.m_onClick = [&](CFakeButton& b) { bPressedDuringClick = b.Pressed(); };
    btn.Send(kDown);
    EXPECT_TRUE(bPressedDuringClick);
}

TEST(PressTrackerTest, AButtonHiddenByItsClickEndsItsPressWhenThePointerLeaves) {
    CFakeButton btn;
    btn.m_onClick = [](CFakeButton& b) { b.m_bShown = 0; };
    btn.Send(kDown);
    btn.Send(kUp); // swallowed: the button is hidden now
    EXPECT_TRUE(btn.Pressed());
    btn.Send(kTick);
    btn.Send(kTick);
    EXPECT_TRUE(btn.Pressed());
    btn.m_bInside = FALSE;
    btn.Send(kTick);
    EXPECT_TRUE(btn.Idle());
    EXPECT_EQ(1, btn.m_nClicks);
}

TEST(PressTrackerTest, CursorAndTooltipOnlyForALiveButtonMovesAlwaysPassOn) {
    const int states[][3] = {{1, 1, 1}, {0, 1, 0}, {2, 1, 0}, {1, 0, 0}, {1, 2, 0}};
    for (const auto& s : states) {
        CFakeButton btn;
        btn.m_bShown = s[0];
        btn.m_bActive = s[1];
        btn.Send(kMove);
        CPressTracker::PreTranslate(btn, btn.m_bShown, btn.m_bActive);
        EXPECT_EQ(s[2], btn.m_nCursors) << s[0] << "/" << s[1];
        EXPECT_EQ(s[2], btn.m_nRelayed) << s[0] << "/" << s[1];
        EXPECT_EQ(1, btn.m_nPassedOn) << s[0] << "/" << s[1];
    }
}
