// The compiled resource set (everything but the dialog templates) against
// the resource tables: bitmaps, icon, string table, browser state blocks,
// version block, manifest and languages.
#include "tests/unit/ResFile.h"
#include "tests/unit/VersionInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

namespace {

const WORD kIcon = 3, kBitmap = 2, kDialog = 5, kString = 6, kGroupIcon = 14, kVersion = 16,
           kManifest = 24, kDlgInit = 240;

DWORD Le32(const std::vector<BYTE>& b, size_t pos) {
    return static_cast<DWORD>(b.at(pos)) | (static_cast<DWORD>(b.at(pos + 1)) << 8) |
           (static_cast<DWORD>(b.at(pos + 2)) << 16) | (static_cast<DWORD>(b.at(pos + 3)) << 24);
}

WORD Le16(const std::vector<BYTE>& b, size_t pos) {
    return static_cast<WORD>(b.at(pos) | (b.at(pos + 1) << 8));
}

const CResFile::CEntry& Get(WORD type, WORD name) {
    static const CResFile::CEntry none;
    const CResFile::CEntry* entry = CResFile::Compiled().Find(type, name);
    EXPECT_NE(nullptr, entry) << "type " << type << " name " << name;
    return entry ? *entry : none;
}

// The string at index of a RT_STRING block of 16 counted strings.
std::u16string BlockString(const std::vector<BYTE>& block, int index) {
    size_t pos = 0;
    for (int i = 0; i < 16; ++i) {
        const WORD length = Le16(block, pos);
        pos += 2;
        if (i == index) {
            std::u16string text;
            for (WORD c = 0; c < length; ++c)
                text.push_back(static_cast<char16_t>(Le16(block, pos + 2u * c)));
            return text;
        }
        pos += 2u * length;
    }
    return u"<missing>";
}

} // namespace

TEST(ResourceTest, EveryResourceIsPresentAndKorean) {
    const CResFile& res = CResFile::Compiled();
    ASSERT_FALSE(res.Entries().empty()) << "compiled resources missing";
    const std::set<std::pair<WORD, WORD>> expected = {
        {kBitmap, 134},  {kBitmap, 135}, {kBitmap, 137},    {kBitmap, 138}, {kBitmap, 139},
        {kBitmap, 140},  {kBitmap, 141}, {kBitmap, 146},    {kBitmap, 147}, {kIcon, 1},
        {kIcon, 2},      {kDialog, 100}, {kDialog, 102},    {kDialog, 129}, {kDialog, 131},
        {kDialog, 132},  {kString, 7},   {kGroupIcon, 128}, {kVersion, 1},  {kManifest, 1},
        {kDlgInit, 129}, {kDlgInit, 132}};
    std::set<std::pair<WORD, WORD>> found;
    for (const CResFile::CEntry& e : res.Entries()) {
        ASSERT_TRUE(e.type.bOrdinal && e.name.bOrdinal);
        found.insert({e.type.nOrdinal, e.name.nOrdinal});
        EXPECT_EQ(0x0412, e.nLanguage) << "type " << e.type.nOrdinal << " name " << e.name.nOrdinal;
    }
    EXPECT_EQ(expected, found);
    EXPECT_EQ(expected.size(), res.Entries().size());
}

TEST(ResourceTest, BitmapsAre8BitBottomUpWithTheirSizes) {
    struct {
        WORD id;
        LONG width, height;
        DWORD colours;
    } const bitmaps[] = {{134, 494, 310, 256}, {135, 493, 156, 256}, {137, 64, 24, 256},
                         {138, 490, 510, 255}, {139, 64, 24, 256},   {140, 64, 24, 256},
                         {141, 346, 165, 256}, {146, 32, 32, 256},   {147, 309, 13, 256}};
    for (const auto& want : bitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(want.id));
        const std::vector<BYTE>& b = Get(kBitmap, want.id).data;
        ASSERT_GE(b.size(), 40u);
        EXPECT_EQ(40u, Le32(b, 0)); // BITMAPINFOHEADER
        EXPECT_EQ(want.width, static_cast<LONG>(Le32(b, 4)));
        EXPECT_EQ(want.height, static_cast<LONG>(Le32(b, 8))); // positive: bottom-up
        EXPECT_EQ(1, Le16(b, 12));
        EXPECT_EQ(8, Le16(b, 14));
        EXPECT_EQ(0u, Le32(b, 16)); // BI_RGB
        const DWORD used = Le32(b, 32);
        EXPECT_EQ(want.colours, used == 0 ? 256u : used);
        const size_t stride = (static_cast<size_t>(want.width) + 3) & ~size_t(3);
        EXPECT_EQ(40 + 4 * want.colours + stride * static_cast<size_t>(want.height), b.size());
    }
}

TEST(ResourceTest, IconGroupHoldsTwo16ColourImages) {
    const std::vector<BYTE>& group = Get(kGroupIcon, 128).data;
    ASSERT_EQ(6u + 2 * 14, group.size());
    EXPECT_EQ(0, Le16(group, 0));
    EXPECT_EQ(1, Le16(group, 2));
    ASSERT_EQ(2, Le16(group, 4));
    const BYTE sizes[] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("icon entry " + std::to_string(i));
        const size_t e = 6 + 14u * static_cast<size_t>(i);
        EXPECT_EQ(sizes[i], group[e]);
        EXPECT_EQ(sizes[i], group[e + 1]);
        EXPECT_EQ(16, group[e + 2]);
        const std::vector<BYTE>& image = Get(kIcon, Le16(group, e + 12)).data;
        EXPECT_EQ(Le32(group, e + 8), image.size());
        ASSERT_GE(image.size(), 40u);
        EXPECT_EQ(sizes[i], Le32(image, 4));
        EXPECT_EQ(2u * sizes[i], Le32(image, 8)); // colour image and mask
        EXPECT_EQ(4, Le16(image, 14));
        // 16 palette entries, 4-bit image rows, 1-bit mask rows.
        const size_t xorRow = ((sizes[i] * 4u + 31) / 32) * 4;
        const size_t andRow = ((sizes[i] + 31u) / 32) * 4;
        EXPECT_EQ(40 + 64 + (xorRow + andRow) * sizes[i], image.size());
    }
}

TEST(ResourceTest, StringTableHolds102Only) {
    const std::vector<BYTE>& block = Get(kString, 102 / 16 + 1).data;
    EXPECT_EQ(u"QelPluginWizard 정보(&A)...", BlockString(block, 102 % 16));
    for (int i = 0; i < 16; ++i) {
        if (i != 102 % 16) {
            EXPECT_EQ(u"", BlockString(block, i)) << "string " << 96 + i;
        }
    }
}

TEST(ResourceTest, BrowserStateBlocksDifferOnlyInTheControlId) {
    const std::vector<BYTE>& setup = Get(kDlgInit, 129).data;
    const std::vector<BYTE>& paytest = Get(kDlgInit, 132).data;
    for (const auto& [block, id] : {std::make_pair(&setup, 9042), std::make_pair(&paytest, 9041)}) {
        SCOPED_TRACE("block of control " + std::to_string(id));
        ASSERT_EQ(170u, block->size());
        EXPECT_EQ(id, Le16(*block, 0));
        EXPECT_EQ(0x0376, Le16(*block, 2)); // WM_OCC_LOADFROMSTREAM
        EXPECT_EQ(160u, Le32(*block, 4));
        EXPECT_EQ(1402u, Le32(*block, 8 + 8)); // extent, HIMETRIC
        EXPECT_EQ(1191u, Le32(*block, 8 + 12));
        // The control's block and the shell-link header that follows it,
        // each opening with its size (76).
        EXPECT_EQ(76u, Le32(*block, 8 + 0 + 4));
        EXPECT_EQ(76u, Le32(*block, 8 + 40));
        EXPECT_EQ(0x0057D0E0u, Le32(*block, 8 + 56)); // VID_LargeIcons
        EXPECT_EQ(76u, Le32(*block, 8 + 80));
        EXPECT_EQ(0x00021401u, Le32(*block, 8 + 84)); // CLSID_ShellLink
        EXPECT_EQ(0, Le16(*block, 168));              // end mark
    }
    ASSERT_EQ(setup.size(), paytest.size());
    EXPECT_TRUE(std::equal(setup.begin() + 2, setup.end(), paytest.begin() + 2));
}

TEST(ResourceTest, VersionBlockMatchesTheTable) {
    CVersionInfo info;
    ASSERT_TRUE(info.Parse(Get(kVersion, 1).data));
    const CVersionInfo::CBlock& root = info.Root();
    EXPECT_EQ(u"VS_VERSION_INFO", root.key);
    const std::vector<BYTE>& fixed = root.value;
    ASSERT_EQ(52u, fixed.size());
    EXPECT_EQ(0xFEEF04BDu, Le32(fixed, 0));
    EXPECT_EQ(0x00010000u, Le32(fixed, 8));  // file version 1.0
    EXPECT_EQ(0x00000001u, Le32(fixed, 12)); // .0.1
    EXPECT_EQ(0x00010000u, Le32(fixed, 16)); // product version
    EXPECT_EQ(0x00000001u, Le32(fixed, 20));
    EXPECT_EQ(0x3Fu, Le32(fixed, 24));
    EXPECT_EQ(0u, Le32(fixed, 28));
    EXPECT_EQ(4u, Le32(fixed, 32)); // VOS__WINDOWS32
    EXPECT_EQ(1u, Le32(fixed, 36)); // VFT_APP
    EXPECT_EQ(0u, Le32(fixed, 40));
    EXPECT_EQ(0u, Le32(fixed, 44));
    EXPECT_EQ(0u, Le32(fixed, 48));

    const CVersionInfo::CBlock* strings = root.Child(u"StringFileInfo");
    ASSERT_NE(nullptr, strings);
    ASSERT_EQ(1u, strings->children.size());
    const CVersionInfo::CBlock& table = strings->children[0];
    EXPECT_EQ(u"041204b0", table.key);
    const std::pair<std::u16string, std::u16string> values[] = {
        {u"Comments", u""},
        {u"CompanyName", u""},
        {u"FileDescription", u"QelPluginWizard MFC 응용 프로그램"},
        {u"FileVersion", u"1, 0, 0, 1"},
        {u"InternalName", u"QelPluginWizard"},
        {u"LegalCopyright", u"(C) 2026 NORVANE Co., Ltd."},
        {u"LegalTrademarks", u""},
        {u"OriginalFilename", u"QelPluginWizard.EXE"},
        {u"PrivateBuild", u""},
        {u"ProductName", u"QelPluginWizard 응용 프로그램"},
        {u"ProductVersion", u"1, 0, 0, 1"},
        {u"SpecialBuild", u""},
    };
    ASSERT_EQ(std::size(values), table.children.size());
    for (size_t i = 0; i < table.children.size(); ++i) {
        EXPECT_TRUE(table.children[i].key == values[i].first) << "key " << i;
        EXPECT_TRUE(table.children[i].Text() == values[i].second) << "value " << i;
    }

    const CVersionInfo::CBlock* vars = root.Child(u"VarFileInfo");
    ASSERT_NE(nullptr, vars);
    const CVersionInfo::CBlock* translation = vars->Child(u"Translation");
    ASSERT_NE(nullptr, translation);
    ASSERT_EQ(4u, translation->value.size());
    EXPECT_EQ(0x0412, Le16(translation->value, 0));
    EXPECT_EQ(0x04B0, Le16(translation->value, 2));
}

TEST(ResourceTest, ManifestRequestsAdministratorWithoutCommonControls6) {
    const std::vector<BYTE>& data = Get(kManifest, 1).data;
    const std::string xml(data.begin(), data.end());
    EXPECT_EQ(0u, xml.find("<?xml"));
    EXPECT_NE(std::string::npos, xml.find("level=\"requireAdministrator\""));
    EXPECT_EQ(std::string::npos, xml.find("Common-Controls"));
    EXPECT_EQ(std::string::npos, xml.find("dependency"));
    for (const char* os : {"e2011457-1546-43c5-a5fe-008deee3d3f0",  // Vista
                           "35138b9a-5d96-4fbd-8e2d-a2440225f93a",  // 7
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",  // 8
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78",  // 8.1
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) // 10
        EXPECT_NE(std::string::npos, xml.find(std::string("<supportedOS Id=\"{") + os + "}\"/>"))
            << os;
}
