// Dialog units to pixels as the system lays a template out: the rounding of
// MulDiv, the base units of a font, each field of a rectangle on its own.
#include "framework/DialogUnits.h"

#include <gtest/gtest.h>

TEST(DialogUnitsTest, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(88, CDialogUnits::MulDiv(50, 7, 4));   // 87.5
    EXPECT_EQ(87, CDialogUnits::MulDiv(199, 7, 16)); // 87.06
    EXPECT_EQ(-88, CDialogUnits::MulDiv(-50, 7, 4));
    EXPECT_EQ(-88, CDialogUnits::MulDiv(50, -7, 4));
    EXPECT_EQ(88, CDialogUnits::MulDiv(-50, 7, -4));
    EXPECT_EQ(0, CDialogUnits::MulDiv(0, 7, 4));
    EXPECT_EQ(-1, CDialogUnits::MulDiv(5, 7, 0));
    // 9 points: 12 px at 96 DPI, 15 at 120, 18 at 144.
    EXPECT_EQ(12, CDialogUnits::PointsToPixels(9, 96));
    EXPECT_EQ(15, CDialogUnits::PointsToPixels(9, 120));
    EXPECT_EQ(18, CDialogUnits::PointsToPixels(9, 144));
}

TEST(DialogUnitsTest, BaseUnitsAreTheRoundedAverageLetterWidthAndTheHeight) {
    // 52 letters: an average of 6.5 rounds up, anything less down.
    const CDialogUnits up = CDialogUnits::FromFontMetrics(338, 12);
    EXPECT_EQ(7, up.m_cxBase);
    EXPECT_EQ(12, up.m_cyBase);
    EXPECT_EQ(6, CDialogUnits::FromFontMetrics(337, 12).m_cxBase);
    EXPECT_EQ(9, CDialogUnits::FromFontMetrics(9 * 52, 15).m_cxBase);
}

TEST(DialogUnitsTest, EachFieldOfAnItemIsRoundedOnItsOwn) {
    const CDialogUnits units(7, 12);
    CDialogTemplate::CItem item;
    item.x = 50; // the wizard's progress bar
    item.y = 282;
    item.cx = 205;
    item.cy = 11;
    // The right edge is x + width, each rounded, not the rounded x + width.
    const CDialogUnits::CPlace expected{88, 423, 359, 17};
    EXPECT_EQ(expected, units.MapItem(item));
    EXPECT_EQ(446, units.MapX(item.x + item.cx));
    const CDialogUnits::CPlace origin{0, 0, 0, 0};
    EXPECT_EQ(origin, CDialogUnits(9, 15).Map(0, 0, 0, 0));
}
