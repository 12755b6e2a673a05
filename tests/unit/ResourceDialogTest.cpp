// The five dialog templates as windres compiled them, field by field.
#include "framework/DialogTemplate.h"
#include "tests/unit/ResFile.h"

#include <gtest/gtest.h>

namespace {

using CNameOrId = CDialogTemplate::CNameOrId;

const WORD kDialog = 5; // RT_DIALOG
const CNameOrId kButton = CNameOrId::Id(0x80);
const CNameOrId kStatic = CNameOrId::Id(0x82);
const CNameOrId kListBox = CNameOrId::Id(0x83);
const CNameOrId kBrowser = CNameOrId::Name(u"{8856F961-340A-11D0-A96B-00C04FD705A2}");
const CNameOrId kNoText = CNameOrId::Name(u"");

struct CExpectedItem {
    DWORD nId;
    CNameOrId cls;
    CNameOrId title;
    DWORD dwStyle;
    short x, y, cx, cy;
};

struct CExpectedDialog {
    WORD nId;
    bool bEx;
    DWORD dwStyle;
    DWORD dwExStyle;
    short cx, cy;
    std::u16string caption;
    std::vector<CExpectedItem> items;
};

const std::u16string kNoticeText =
    u"\n* Internet Explorer 종료 안내\n\n결제모듈의 원활한 설치를 위해서 현재 실행중인 "
    u"인터넷 익스플로러를 모두 종료합니다.\n\n저장이 필요한 인터넷 익스플로러가 있다면 모두 "
    u"저장하여 주시기 바랍니다.";

const std::vector<CExpectedDialog>& ExpectedDialogs() {
    static const std::vector<CExpectedDialog> dialogs = {
        {100,
         false,
         0x80C800C0,
         0,
         235,
         55,
         u"QelPluginWizard 정보",
         {
             {0xFFFF, kStatic, CNameOrId::Id(128), 0x50000003, 11, 17, 20, 20},
             {0xFFFF, kStatic, CNameOrId::Name(u"QelPluginWizard 버전 1.0"), 0x50020080, 40, 10,
              119, 8},
             {0xFFFF, kStatic, CNameOrId::Name(u"(C) 2026 NORVANE Co., Ltd."), 0x50020000, 40, 25,
              119, 8},
             {1, kButton, CNameOrId::Name(u"확인"), 0x50030001, 178, 7, 50, 14},
         }},
        {102,
         true,
         0x90800040,
         0x00040000,
         283,
         370,
         u"",
         {
             {1002, CNameOrId::Name(u"msctls_progress32"), CNameOrId::Name(u"Progress1"),
              0x50000001, 50, 282, 205, 11},
             {1008, kListBox, kNoText, 0x50200100, 23, 60, 234, 194},
             {1001, kStatic, CNameOrId::Id(140), 0x5000010E, 189, 315, 37, 16},
             {1003, kStatic, CNameOrId::Id(139), 0x5000010E, 229, 315, 37, 16},
             {1004, kStatic, CNameOrId::Id(140), 0x5000010E, 189, 315, 37, 16},
             {9193, kStatic, CNameOrId::Id(147), 0x5000000E, 9, 319, 177, 9},
         }},
        {129,
         false,
         0x80000040,
         0,
         199,
         120,
         u"",
         {
             {9042, kBrowser, kNoText, 0x50010000, 15, 18, 30, 30},
             {1000, kStatic, CNameOrId::Id(137), 0x5000010E, 144, 86, 37, 16},
         }},
        {131,
         false,
         0x80000040,
         0,
         295,
         102,
         u"",
         {
             {0xFFFF, kStatic, CNameOrId::Name(kNoticeText), 0x50020000, 7, 20, 275, 56},
             {1000, kStatic, CNameOrId::Id(137), 0x5000010E, 120, 79, 37, 16},
         }},
        {132,
         false,
         0x80000040,
         0,
         231,
         162,
         u"",
         {
             {9041, kBrowser, kNoText, 0x50010000, 7, 125, 30, 30},
         }},
    };
    return dialogs;
}

std::string Describe(const CNameOrId& name) {
    if (name.bOrdinal)
        return "#" + std::to_string(name.nOrdinal);
    std::string text = "\"";
    for (char16_t c : name.str)
        text += c < 0x80 ? static_cast<char>(c) : '?';
    return text + "\"";
}

// windres stores a control's class name upper-cased; the system looks window
// classes up without regard to case, so class names compare that way.
bool SameClass(const CNameOrId& a, const CNameOrId& b) {
    auto upper = [](std::u16string s) {
        for (char16_t& c : s)
            c = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
        return s;
    };
    return a.bOrdinal == b.bOrdinal && a.nOrdinal == b.nOrdinal && upper(a.str) == upper(b.str);
}

} // namespace

TEST(ResourceDialogTest, TemplatesMatchTheTables) {
    const CResFile& res = CResFile::Compiled();
    ASSERT_FALSE(res.Entries().empty()) << "compiled resources missing";
    for (const CExpectedDialog& want : ExpectedDialogs()) {
        SCOPED_TRACE("template " + std::to_string(want.nId));
        const CResFile::CEntry* entry = res.Find(kDialog, want.nId);
        ASSERT_NE(nullptr, entry);
        CDialogTemplate dlg;
        ASSERT_TRUE(dlg.Parse(entry->data.data(), entry->data.size()));
        EXPECT_EQ(want.bEx, dlg.m_bEx);
        EXPECT_EQ(want.dwStyle, dlg.m_dwStyle);
        EXPECT_EQ(want.dwExStyle, dlg.m_dwExStyle);
        EXPECT_EQ(0u, dlg.m_dwHelpId);
        EXPECT_EQ(0, dlg.m_x);
        EXPECT_EQ(0, dlg.m_y);
        EXPECT_EQ(want.cx, dlg.m_cx);
        EXPECT_EQ(want.cy, dlg.m_cy);
        EXPECT_TRUE(dlg.m_menu.IsEmpty());
        EXPECT_TRUE(dlg.m_class.IsEmpty());
        EXPECT_TRUE(dlg.m_title == CNameOrId::Name(want.caption)) << Describe(dlg.m_title);
        EXPECT_EQ(9, dlg.m_nPointSize);
        EXPECT_EQ(u"굴림", dlg.m_strTypeface);
        if (want.bEx) {
            EXPECT_EQ(0, dlg.m_nWeight);
            EXPECT_EQ(0, dlg.m_bItalic);
            EXPECT_EQ(1, dlg.m_nCharSet);
        }
        ASSERT_EQ(want.items.size(), dlg.m_items.size());
        for (size_t i = 0; i < want.items.size(); ++i) {
            SCOPED_TRACE("control row " + std::to_string(i + 1));
            const CExpectedItem& w = want.items[i];
            const CDialogTemplate::CItem& got = dlg.m_items[i];
            EXPECT_EQ(w.nId, got.nId);
            EXPECT_TRUE(SameClass(w.cls, got.cls)) << Describe(got.cls);
            EXPECT_TRUE(w.title == got.title) << Describe(got.title);
            EXPECT_EQ(w.dwStyle, got.dwStyle) << std::hex << got.dwStyle;
            EXPECT_EQ(0u, got.dwExStyle);
            EXPECT_EQ(0u, got.dwHelpId);
            EXPECT_EQ(w.x, got.x);
            EXPECT_EQ(w.y, got.y);
            EXPECT_EQ(w.cx, got.cx);
            EXPECT_EQ(w.cy, got.cy);
            EXPECT_TRUE(got.creationData.empty());
        }
    }
}

TEST(ResourceDialogTest, PageTemplatesLoseOnlyTheirBrowser) {
    // What the framework does before creating a page dialog.
    for (WORD id : {WORD(129), WORD(132)}) {
        const CResFile::CEntry* entry = CResFile::Compiled().Find(kDialog, id);
        ASSERT_NE(nullptr, entry);
        CDialogTemplate dlg;
        ASSERT_TRUE(dlg.Parse(entry->data.data(), entry->data.size()));
        const size_t before = dlg.m_items.size();
        EXPECT_EQ(1, dlg.RemoveActiveXItems());
        EXPECT_EQ(before - 1, dlg.m_items.size());
        EXPECT_EQ(id == 129 ? 9042u : 9041u, dlg.GetRemovedItems().at(0).nId);
        const std::vector<BYTE> built = dlg.Build();
        CDialogTemplate again;
        ASSERT_TRUE(again.Parse(built.data(), built.size()));
        EXPECT_EQ(dlg.m_dwStyle, again.m_dwStyle);
        EXPECT_EQ(u"굴림", again.m_strTypeface);
        EXPECT_EQ(before - 1, again.m_items.size());
    }
}
