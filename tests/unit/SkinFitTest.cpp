// The first-erase fit of a skinned dialog against a recording window.
#include "skin/SkinFit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CFakeWindow : public ISkinFitHost {
public:
    std::vector<std::string> m_calls;
    int* m_pFlag = nullptr; // re-enters the erase, as a resize's repaint does

    void SetOuterSize(int cx, int cy) override {
        m_calls.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
        if (m_pFlag != nullptr)
            CSkinFit::OnErase(*this, *m_pFlag, TRUE, cx, cy);
    }
    void Center() override { m_calls.push_back("center"); }
};

} // namespace

TEST(SkinFitTest, FitsAndCentresOncePerInstanceNotAgainAfterAMove) {
    CFakeWindow wnd;
    int bFirstPaint = 1;
    wnd.m_pFlag = &bFirstPaint;
    EXPECT_TRUE(CSkinFit::OnErase(wnd, bFirstPaint, TRUE, 493, 156));
    EXPECT_EQ(0, bFirstPaint);
    EXPECT_EQ((std::vector<std::string>{"size 493x156", "center"}), wnd.m_calls);
    // The user moves the window; later erases only paint.
    EXPECT_FALSE(CSkinFit::OnErase(wnd, bFirstPaint, TRUE, 493, 156));
    EXPECT_EQ(2u, wnd.m_calls.size());

    // Another instance fits again.
    CFakeWindow other;
    int bOther = 1;
    EXPECT_TRUE(CSkinFit::OnErase(other, bOther, TRUE, 490, 510));
    EXPECT_EQ(2u, other.m_calls.size());
}

TEST(SkinFitTest, NothingBeforeInitialisationOrWithoutABitmap) {
    CFakeWindow wnd;
    int bFirstPaint = 0;
    EXPECT_FALSE(CSkinFit::OnErase(wnd, bFirstPaint, TRUE, 490, 510));
    bFirstPaint = 1;
    EXPECT_FALSE(CSkinFit::OnErase(wnd, bFirstPaint, FALSE, 0, 0));
    EXPECT_EQ(0, bFirstPaint);
    EXPECT_TRUE(wnd.m_calls.empty());
}
