#include "framework/DialogTemplate.h"

#include <gtest/gtest.h>

namespace {

using CNameOrId = CDialogTemplate::CNameOrId;

// Writes template bytes field by field, as a resource compiler lays them out.
struct CBytes {
    std::vector<BYTE> b;
    CBytes& W(WORD v) {
        b.push_back(static_cast<BYTE>(v));
        b.push_back(static_cast<BYTE>(v >> 8));
        return *this;
    }
    CBytes& D(DWORD v) { return W(static_cast<WORD>(v)).W(static_cast<WORD>(v >> 16)); }
    CBytes& S(const std::u16string& s) {
        for (char16_t c : s)
            W(c);
        return W(0);
    }
    CBytes& Pad() {
        while (b.size() % 4)
            b.push_back(0);
        return *this;
    }
};

// A DLGTEMPLATE: ordinal menu, class name, title, font; a static with an
// ordinal image, an ActiveX control with 3 bytes of creation data, a button.
std::vector<BYTE> ClassicTemplate() {
    CBytes t;
    t.D(0x80C800C0).D(0x00000008).W(3).W(1).W(2).W(235).W(55);
    t.W(0xFFFF).W(7).S(u"MyClass").S(u"정보").W(9).S(u"굴림");
    t.Pad().D(0x5000010E).D(0).W(11).W(17).W(37).W(16).W(0xFFFF);
    t.W(0xFFFF).W(0x82).W(0xFFFF).W(140).W(0);
    t.Pad().D(0x50010000).D(0x200).W(7).W(125).W(30).W(30).W(9041);
    t.S(u"{8856F961-340A-11D0-A96B-00C04FD705A2}").S(u"").W(3);
    t.b.insert(t.b.end(), {0xAA, 0xBB, 0xCC});
    t.Pad().D(0x50030001).D(0).W(178).W(7).W(50).W(14).W(1);
    t.W(0xFFFF).W(0x80).S(u"확인").W(0);
    return t.b;
}

void ExpectSameItems(const CDialogTemplate& a, const CDialogTemplate& b) {
    ASSERT_EQ(a.m_items.size(), b.m_items.size());
    for (size_t i = 0; i < a.m_items.size(); ++i) {
        const auto& x = a.m_items[i];
        const auto& y = b.m_items[i];
        EXPECT_EQ(x.dwHelpId, y.dwHelpId) << i;
        EXPECT_EQ(x.dwExStyle, y.dwExStyle) << i;
        EXPECT_EQ(x.dwStyle, y.dwStyle) << i;
        EXPECT_EQ(x.x, y.x) << i;
        EXPECT_EQ(x.y, y.y) << i;
        EXPECT_EQ(x.cx, y.cx) << i;
        EXPECT_EQ(x.cy, y.cy) << i;
        EXPECT_EQ(x.nId, y.nId) << i;
        EXPECT_TRUE(x.cls == y.cls) << i;
        EXPECT_TRUE(x.title == y.title) << i;
        EXPECT_EQ(x.creationData, y.creationData) << i;
    }
}

} // namespace

TEST(CDialogTemplateTest, ParsesClassicTemplate) {
    const std::vector<BYTE> bytes = ClassicTemplate();
    CDialogTemplate dlg;
    ASSERT_TRUE(dlg.Parse(bytes.data(), bytes.size()));
    EXPECT_FALSE(dlg.m_bEx);
    EXPECT_EQ(0x80C800C0u, dlg.m_dwStyle);
    EXPECT_EQ(8u, dlg.m_dwExStyle);
    EXPECT_EQ(1, dlg.m_x);
    EXPECT_EQ(2, dlg.m_y);
    EXPECT_EQ(235, dlg.m_cx);
    EXPECT_EQ(55, dlg.m_cy);
    EXPECT_TRUE(dlg.m_menu == CNameOrId::Id(7));
    EXPECT_TRUE(dlg.m_class == CNameOrId::Name(u"MyClass"));
    EXPECT_TRUE(dlg.m_title == CNameOrId::Name(u"정보"));
    EXPECT_EQ(9, dlg.m_nPointSize);
    EXPECT_EQ(u"굴림", dlg.m_strTypeface);
    ASSERT_EQ(3u, dlg.m_items.size());
    EXPECT_EQ(0xFFFFu, dlg.m_items[0].nId);
    EXPECT_TRUE(dlg.m_items[0].cls == CNameOrId::Id(0x82));
    EXPECT_TRUE(dlg.m_items[0].title == CNameOrId::Id(140));
    EXPECT_EQ(0x5000010Eu, dlg.m_items[0].dwStyle);
    EXPECT_EQ(9041u, dlg.m_items[1].nId);
    EXPECT_EQ(0x200u, dlg.m_items[1].dwExStyle);
    EXPECT_TRUE(dlg.m_items[1].IsActiveX());
    EXPECT_TRUE(dlg.m_items[1].title.IsEmpty());
    EXPECT_EQ((std::vector<BYTE>{0xAA, 0xBB, 0xCC}), dlg.m_items[1].creationData);
    EXPECT_EQ(u"확인", dlg.m_items[2].title.str);
    EXPECT_EQ(178, dlg.m_items[2].x);
    EXPECT_EQ(14, dlg.m_items[2].cy);
}

TEST(CDialogTemplateTest, BuildWritesAlignedExtendedTemplate) {
    const std::vector<BYTE> bytes = ClassicTemplate();
    CDialogTemplate dlg;
    ASSERT_TRUE(dlg.Parse(bytes.data(), bytes.size()));
    dlg.m_nWeight = 700;
    dlg.m_bItalic = 1;
    dlg.m_nCharSet = 129;
    dlg.m_dwHelpId = 42;
    dlg.m_items[2].dwHelpId = 7;
    dlg.m_items[2].nId = 0x12345;
    const std::vector<BYTE> built = dlg.Build();

    // Header: dlgVer 1, signature FFFF, helpID, exStyle, style, cDlgItems.
    ASSERT_GE(built.size(), 18u);
    EXPECT_EQ(1, built[0] | built[1] << 8);
    EXPECT_EQ(0xFFFF, built[2] | built[3] << 8);
    EXPECT_EQ(3, built[16] | built[17] << 8);
    // Header (26 bytes), menu (4), "MyClass" (16), "정보" (6), font (6 + 6):
    // 64 bytes, so the first item sits right there, DWORD aligned.
    EXPECT_EQ(0x0Eu, built[64 + 8]); // its style's low byte, after helpID and exStyle

    CDialogTemplate again;
    ASSERT_TRUE(again.Parse(built.data(), built.size()));
    EXPECT_TRUE(again.m_bEx);
    EXPECT_EQ(42u, again.m_dwHelpId);
    EXPECT_EQ(dlg.m_dwStyle, again.m_dwStyle);
    EXPECT_EQ(dlg.m_dwExStyle, again.m_dwExStyle);
    EXPECT_TRUE(again.m_menu == dlg.m_menu);
    EXPECT_TRUE(again.m_class == dlg.m_class);
    EXPECT_TRUE(again.m_title == dlg.m_title);
    EXPECT_EQ(700, again.m_nWeight);
    EXPECT_EQ(1, again.m_bItalic);
    EXPECT_EQ(129, again.m_nCharSet);
    EXPECT_EQ(u"굴림", again.m_strTypeface);
    ExpectSameItems(dlg, again);
    // A second round trip gives the same bytes.
    EXPECT_EQ(built, again.Build());
}

TEST(CDialogTemplateTest, ItemsAfterOddLengthFieldsStayAligned) {
    CDialogTemplate dlg;
    dlg.m_dwStyle = 0x80000000; // no font
    for (int i = 0; i < 3; ++i) {
        CDialogTemplate::CItem item;
        item.nId = 100 + i;
        item.cls = CNameOrId::Name(u"Edit");
        item.title = CNameOrId::Name(std::u16string(static_cast<size_t>(i), u'x'));
        item.creationData.assign(static_cast<size_t>(i), 0x11);
        dlg.m_items.push_back(item);
    }
    const std::vector<BYTE> built = dlg.Build();
    // Walk the items by hand: every one starts on a 4-byte boundary.
    size_t pos = 26 + 2 + 2 + 2; // header, empty menu, class, title
    for (int i = 0; i < 3; ++i) {
        pos = (pos + 3) & ~size_t(3);
        ASSERT_LT(pos + 20, built.size());
        EXPECT_EQ(static_cast<BYTE>(100 + i), built[pos + 20]) << i;
        pos += 24 + 10 + 2 * (i + 1) + 2 + static_cast<size_t>(i);
    }
    EXPECT_EQ(pos, built.size());
    CDialogTemplate again;
    ASSERT_TRUE(again.Parse(built.data(), built.size()));
    ExpectSameItems(dlg, again);
}

TEST(CDialogTemplateTest, RejectsEveryTruncation) {
    const std::vector<BYTE> bytes = ClassicTemplate();
    CDialogTemplate dlg;
    const std::vector<BYTE> ex = [&] {
        dlg.Parse(bytes.data(), bytes.size());
        return dlg.Build();
    }();
    for (const auto* full : {&bytes, &ex}) {
        for (size_t n = 0; n < full->size(); ++n) {
            std::vector<BYTE> cut(full->begin(), full->begin() + static_cast<long>(n));
            CDialogTemplate t;
            EXPECT_FALSE(t.Parse(cut.data(), cut.size())) << n;
            EXPECT_TRUE(t.m_items.empty());
        }
    }
}

TEST(CDialogTemplateTest, RejectsMalformedCounts) {
    std::vector<BYTE> bytes = ClassicTemplate();
    CDialogTemplate dlg;
    std::vector<BYTE> moreItems = bytes;
    moreItems[8] = 4; // cdit says four items, three follow
    EXPECT_FALSE(dlg.Parse(moreItems.data(), moreItems.size()));

    // Creation data longer than what is left.
    std::vector<BYTE> longData = bytes;
    longData[longData.size() - 2] = 0xFF;
    longData[longData.size() - 1] = 0x7F;
    EXPECT_FALSE(dlg.Parse(longData.data(), longData.size()));

    // A title with no terminator.
    CBytes open;
    open.D(0x80000000).D(0).W(0).W(0).W(0).W(10).W(10).W(0).W(0).W('a').W('b');
    EXPECT_FALSE(dlg.Parse(open.b.data(), open.b.size()));
}

TEST(CDialogTemplateTest, RemoveActiveXItemsKeepsTheRestInOrder) {
    const std::vector<BYTE> bytes = ClassicTemplate();
    CDialogTemplate dlg;
    ASSERT_TRUE(dlg.Parse(bytes.data(), bytes.size()));
    EXPECT_EQ(1, dlg.RemoveActiveXItems());
    ASSERT_EQ(2u, dlg.m_items.size());
    EXPECT_EQ(0xFFFFu, dlg.m_items[0].nId);
    EXPECT_EQ(1u, dlg.m_items[1].nId);
    ASSERT_EQ(1u, dlg.GetRemovedItems().size());
    EXPECT_EQ(9041u, dlg.GetRemovedItems()[0].nId);
    EXPECT_EQ(125, dlg.GetRemovedItems()[0].y);
    // Its place between the two that stay: their creation puts it back there.
    EXPECT_EQ(std::vector<size_t>{1}, dlg.GetRemovedPlaces());

    const std::vector<BYTE> built = dlg.Build();
    CDialogTemplate again;
    ASSERT_TRUE(again.Parse(built.data(), built.size()));
    EXPECT_EQ(2u, again.m_items.size());
    EXPECT_EQ(0, again.RemoveActiveXItems());

    EXPECT_EQ(2, dlg.RemoveItemsIf([](const CDialogTemplate::CItem&) { return true; }));
    EXPECT_TRUE(dlg.m_items.empty());
    EXPECT_EQ(3u, dlg.GetRemovedItems().size());
    EXPECT_EQ((std::vector<size_t>{1, 0, 1}), dlg.GetRemovedPlaces());
}

// Control-initialisation blocks: the entry of a control and message, and no
// entry when the lengths run past the end before it.
TEST(CDialogTemplateTest, FindInitDataByControlAndMessage) {
    CBytes init;
    init.W(9041).W(0x0401).D(2).W(0xAAAA); // another control, another message
    init.W(9042).W(0x0376).D(4).W(0x1234).W(0x5678);
    init.W(0);
    const BYTE* pData = nullptr;
    DWORD cbData = 0;
    ASSERT_TRUE(
        CDialogTemplate::FindInitData(init.b.data(), init.b.size(), 9042, 0x0376, pData, cbData));
    ASSERT_EQ(4u, cbData);
    EXPECT_EQ(0x34, pData[0]);
    EXPECT_EQ(0x56, pData[3]);
    EXPECT_FALSE(
        CDialogTemplate::FindInitData(init.b.data(), init.b.size(), 9041, 0x0376, pData, cbData));
    EXPECT_EQ(nullptr, pData);

    CBytes cut;
    cut.W(9042).W(0x0376).D(160).W(0x1234);
    EXPECT_FALSE(
        CDialogTemplate::FindInitData(cut.b.data(), cut.b.size(), 9042, 0x0376, pData, cbData));
    EXPECT_FALSE(CDialogTemplate::FindInitData(nullptr, 0, 9042, 0x0376, pData, cbData));
}
