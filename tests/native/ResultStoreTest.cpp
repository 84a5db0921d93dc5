#include <gtest/gtest.h>

#include "checklist/core/ResultStore.h"

using namespace qorvani;

namespace {

TEST(ResultStore, KeepsExactPathsBesideUpperCasedDisplayTexts) {
    ResultStore store;
    store.Append(L"/t/Work/", L"notes.bak", 1536);
    store.Append(L"/t/Work/", L"NOTES.bak", 0);  // a case-sensitive folder: two files, two rows
    store.Append(L"/t/other/", L"a.tmp", 103);
    ASSERT_EQ(store.Count(), 3u);
    EXPECT_EQ(store.DisplayText(0), L"/t/Work/NOTES.BAK");
    EXPECT_EQ(store.DisplayText(1), L"/t/Work/NOTES.BAK");
    EXPECT_EQ(store.ExactPath(0), L"/t/Work/notes.bak");
    EXPECT_EQ(store.ExactPath(1), L"/t/Work/NOTES.bak");
    EXPECT_EQ(store.ExactPath(2), L"/t/other/a.tmp");
    EXPECT_EQ(store.Name(2), L"a.tmp");
    EXPECT_EQ(store.SizeText(0), L" 1.5");
    EXPECT_EQ(store.SizeText(1), L" 0(字节)");
    EXPECT_FALSE(store.Checked(0));
}

TEST(ResultStore, KeepRowsKeepsOrderChecksPathsAndSizes) {
    ResultStore store;
    for (int i = 0; i < 5; ++i) store.Append(L"/f" + std::to_wstring(i % 2) + L"/", L"x" + std::to_wstring(i) + L".tmp", 2048);
    store.SetChecked(3, true);
    store.KeepRows({1, 3, 4});
    ASSERT_EQ(store.Count(), 3u);
    EXPECT_EQ(store.ExactPath(0), L"/f1/x1.tmp");
    EXPECT_EQ(store.ExactPath(1), L"/f1/x3.tmp");
    EXPECT_EQ(store.ExactPath(2), L"/f0/x4.tmp");
    EXPECT_TRUE(store.Checked(1));
    EXPECT_FALSE(store.Checked(0));
    for (std::size_t i = 0; i < store.Count(); ++i) EXPECT_EQ(store.SizeText(i), L" 2");
    EXPECT_EQ(store.CheckedCount(), 1u);
    EXPECT_EQ(store.CheckedBytes(), 2048u);
    store.KeepRows({});
    EXPECT_EQ(store.Count(), 0u);
    store.Clear();
    EXPECT_EQ(store.Count(), 0u);
}

// The rows of a scan: sizes with ties, names that sort differently by case, two folders.
ResultStore Scanned() {
    ResultStore store;
    store.Append(L"/t/b/", L"small.tmp", 10);
    store.Append(L"/t/b/", L"Big.tmp", 5000);
    store.Append(L"/t/b/", L"tie1.tmp", 300);
    store.Append(L"/t/A/", L"tie2.tmp", 300);
    store.Append(L"/t/A/", L"apple.tmp", 300);
    store.Append(L"/t/A/", L"zero.tmp", 0);
    return store;
}

std::vector<std::wstring> Paths(const ResultStore& store) {
    std::vector<std::wstring> paths;
    for (std::size_t i = 0; i < store.Count(); ++i) paths.push_back(store.ExactPath(i));
    return paths;
}

TEST(ResultStore, SortsBySizeByPathAndBackToTheOrderFoundCarryingEachRowsCheckAndSize) {
    ResultStore store = Scanned();
    const std::vector<std::wstring> found = Paths(store);
    store.SetChecked(2, true);  // tie1
    store.SetChecked(5, true);  // zero

    store.Sort(RowOrder::BySize);
    EXPECT_EQ(store.Order(), RowOrder::BySize);
    // Largest first; the three of 300 bytes in the order found.
    EXPECT_EQ(Paths(store), (std::vector<std::wstring>{L"/t/b/Big.tmp", L"/t/b/tie1.tmp", L"/t/A/tie2.tmp",
                                                       L"/t/A/apple.tmp", L"/t/b/small.tmp", L"/t/A/zero.tmp"}));
    for (std::size_t i = 0; i < store.Count(); ++i) {
        const bool checked = store.Name(i) == L"tie1.tmp" || store.Name(i) == L"zero.tmp";
        EXPECT_EQ(store.Checked(i), checked) << i;
    }
    EXPECT_EQ(store.SizeText(0), L" 4.8");
    EXPECT_EQ(store.FoundIndex(0), 1u);

    // By folder, then name, without regard to case: /t/A/ before /t/b/.
    store.Sort(RowOrder::ByPath);
    EXPECT_EQ(Paths(store), (std::vector<std::wstring>{L"/t/A/apple.tmp", L"/t/A/tie2.tmp", L"/t/A/zero.tmp",
                                                       L"/t/b/Big.tmp", L"/t/b/small.tmp", L"/t/b/tie1.tmp"}));
    EXPECT_TRUE(store.Checked(2));
    EXPECT_TRUE(store.Checked(5));

    store.Sort(RowOrder::Found);
    EXPECT_EQ(Paths(store), found);
    EXPECT_TRUE(store.Checked(2));
    EXPECT_TRUE(store.Checked(5));
    EXPECT_EQ(store.CheckedCount(), 2u);
    EXPECT_EQ(store.CheckedBytes(), 300u);

    // After a delete the order found still holds for the rows kept; a new scan starts in it.
    store.Sort(RowOrder::BySize);
    store.KeepRows({4, 0, 2});  // small, Big, tie2: as shown
    store.Sort(RowOrder::Found);
    EXPECT_EQ(Paths(store), (std::vector<std::wstring>{L"/t/b/small.tmp", L"/t/b/Big.tmp", L"/t/A/tie2.tmp"}));
    store.Clear();
    EXPECT_EQ(store.Order(), RowOrder::Found);
}

TEST(ResultStore, APathSortTakesAFoldersFilesBeforeItsSubfoldersAndAFolderListedTwiceAsOne) {
    ResultStore store;
    store.Append(L"/t/A/", L"x.tmp", 1);
    store.Append(L"/t/A/B/", L"a.tmp", 1);
    store.Append(L"/t/A/", L"c.tmp", 1);   // the walk came back to /t/A/ after its subfolder
    store.Append(L"/t/a/", L"b.tmp", 1);   // another folder, the same but for case
    store.Sort(RowOrder::ByPath);
    EXPECT_EQ(Paths(store), (std::vector<std::wstring>{L"/t/a/b.tmp", L"/t/A/c.tmp", L"/t/A/x.tmp", L"/t/A/B/a.tmp"}));
}

TEST(ResultStore, TheCheckedTotalFollowsEveryKindOfChange) {
    ResultStore store = Scanned();
    EXPECT_EQ(store.CheckedCount(), 0u);
    store.SetChecked(1, true);
    store.SetChecked(1, true);  // again: no change
    EXPECT_EQ(store.CheckedCount(), 1u);
    EXPECT_EQ(store.CheckedBytes(), 5000u);
    for (std::size_t i = 0; i < store.Count(); ++i) store.SetChecked(i, true);  // a check-all pass
    EXPECT_EQ(store.CheckedCount(), 6u);
    EXPECT_EQ(store.CheckedBytes(), 5910u);
    store.SetChecked(0, false);
    EXPECT_EQ(store.CheckedBytes(), 5900u);
    store.Sort(RowOrder::ByPath);  // unchanged by a sort
    EXPECT_EQ(store.CheckedCount(), 5u);
    EXPECT_EQ(store.CheckedBytes(), 5900u);
    store.Append(L"/t/c/", L"new.tmp", 77);  // a new row comes unchecked
    EXPECT_EQ(store.CheckedCount(), 5u);
    store.Clear();
    EXPECT_EQ(store.CheckedCount(), 0u);
    EXPECT_EQ(store.CheckedBytes(), 0u);
}

}  // namespace
