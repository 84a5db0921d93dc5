#include <gtest/gtest.h>

#include <vector>

#include "CatalogueStrings.h"
#include "catalogue/core/TypeList.h"
#include "MaskReference.h"
#include "scan/core/MaskMatcher.h"

using namespace qorvani;

namespace {

struct FakeTypeList final : TypeListView {
    struct Row {
        std::wstring mask, description;
        bool checked = false;
    };
    std::vector<Row> rows;
    int reads = 0;
    void AddTypeRow(const std::wstring& mask, const std::wstring& description) override {
        rows.push_back({mask, description});
    }
    std::size_t TypeRowCount() override {
        ++reads;
        return rows.size();
    }
    bool TypeRowChecked(std::size_t row) override { return rows[row].checked; }
    std::wstring TypeRowText(std::size_t row) override { return rows[row].mask; }
};

TEST(Catalogue, StringTableHoldsExactlyTheTwoRanges) {
    testsupport::RcStrings strings;
    const auto& table = strings.Table();
    ASSERT_EQ(table.size(), 52u);
    for (unsigned id = kFirstMaskId; id <= kLastMaskId; ++id) {
        EXPECT_FALSE(table.at(id).empty()) << id;
        EXPECT_FALSE(table.at(id + kDescriptionIdOffset).empty()) << id;
    }
    EXPECT_EQ(table.begin()->first, 101u);
    EXPECT_EQ(table.rbegin()->first, 1035u);
    // Masks stay as stored, in mixed case; descriptions carry their Chinese texts.
    EXPECT_EQ(table.at(121), L"*.#Res");
    EXPECT_EQ(table.at(101), L"~*.*");
    EXPECT_EQ(table.at(126), L"0???????.nch");
    EXPECT_EQ(table.at(1010), L"临时文件");
    EXPECT_EQ(table.at(1026), L"Win 2000/XP内存转储文件");
    EXPECT_EQ(table.at(1035), L"新闻组临时缓存数据文件");
}

TEST(TypeList, FillAddsOneUncheckedRowPerMaskInIdOrder) {
    testsupport::RcStrings strings;
    FakeTypeList list;
    FillTypeList(strings, list);
    ASSERT_EQ(list.rows.size(), kCatalogueSize);
    for (std::size_t i = 0; i < list.rows.size(); ++i) {
        EXPECT_EQ(list.rows[i].mask, strings.Load(static_cast<unsigned>(101 + i)));
        EXPECT_EQ(list.rows[i].description, strings.Load(static_cast<unsigned>(1010 + i)));
        EXPECT_FALSE(list.rows[i].checked);
    }
    // Several rows share a description; that is how the catalogue reads.
    EXPECT_EQ(list.rows[0].description, list.rows[1].description);
    EXPECT_EQ(list.rows[1].description, list.rows[2].description);
}

TEST(TypeList, RebuildKeepsRowOrderAndUpperCasesOnlyLetters) {
    testsupport::RcStrings strings;
    FakeTypeList list;
    FillTypeList(strings, list);
    ActiveMasks masks;

    list.rows[20].checked = true;
    RebuildActiveMasks(list, masks);
    ASSERT_EQ(masks.size(), 1u);
    EXPECT_EQ(masks[0], L"*.#RES");
    EXPECT_EQ(masks, ActiveMasks{L"*.#RES"});

    list.rows[20].checked = false;
    RebuildActiveMasks(list, masks);
    EXPECT_TRUE(masks.empty());

    // Checked in the order 10, 2, 5: held in row order.
    for (int row : {9, 1, 4}) list.rows[row].checked = true;
    RebuildActiveMasks(list, masks);
    ASSERT_EQ(masks.size(), 3u);
    EXPECT_EQ(masks[0], L"*.TMP");
    EXPECT_EQ(masks[1], L"*.??~");
    EXPECT_EQ(masks[2], L"*.OLD");

    for (auto& row : list.rows) row.checked = true;
    list.reads = 0;
    RebuildActiveMasks(list, masks);
    EXPECT_EQ(list.reads, 1);  // the row count is read once
    ASSERT_EQ(masks.size(), 26u);
    EXPECT_EQ(masks[25], L"0???????.NCH");
    EXPECT_EQ(masks[10], L"CHKLIST.*");
}

TEST(TypeList, CatalogueMasksMatchTheirJunkAndNotTheNearMisses) {
    testsupport::RcStrings strings;
    FakeTypeList list;
    FillTypeList(strings, list);
    for (auto& row : list.rows) row.checked = true;
    ActiveMasks masks;
    RebuildActiveMasks(list, masks);
    for (const wchar_t* junk : {L"~WRL1.TMP", L"X.TMP", L"A.~1", L"B.BAK", L"C.AB~", L"D.AB$", L"E.GID",
                                L"CHKLIST.MS", L"F.#RES" /* '#' is a digit only */, L"MSCREATE.DIR",
                                L"01234567.NCH", L"G.$$$", L"H.---", L"I.CDR_"}) {
        const bool expected = std::wstring(junk) != L"F.#RES";
        EXPECT_EQ(MatchesActiveMask(masks, junk), expected) << junk;
    }
    for (const wchar_t* keep : {L"~LOCK", L"A.1RESX", L"0123456.NCH", L"X.TMPX", L"CHKLIST", L"NOTES.TXT",
                                L"MSCREATE.DIRX"})
        EXPECT_FALSE(MatchesActiveMask(masks, keep)) << keep;
    EXPECT_TRUE(MatchesActiveMask(masks, L"A.1RES"));
}

}  // namespace
