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

namespace {

// Folders that part in the middle of a name, go back up, and come again; a folder that is not
// a subfolder of the last one; names longer than a short string holds.
TEST(ResultStore, FoldersSharedByPiecesKeepEveryPathExactlyAsWalked) {
    ResultStore store;
    const std::vector<std::pair<std::wstring, std::wstring>> appended = {
        {L"C:\\Data\\a\\", L"one.tmp"},
        {L"C:\\Data\\ab\\", L"a much longer name than any short string holds.tmp"},
        {L"C:\\Data\\a\\", L"two.tmp"},
        {L"C:\\Data\\a\\deep\\er\\", L"x.bak"},
        {L"C:\\Data\\", L"top.tmp"},
        {L"D:\\", L"root.tmp"},
        {L"\\\\server\\share\\x\\", L"net.tmp"},
        {L"/t/mixed\\name/", L"posix.tmp"},
        {L"", L"nofolder.tmp"},
    };
    for (const auto& [folder, name] : appended) store.Append(folder, name, name.size());
    ASSERT_EQ(store.Count(), appended.size());
    for (std::size_t i = 0; i < appended.size(); ++i) {
        EXPECT_EQ(store.Folder(i), appended[i].first) << i;
        EXPECT_EQ(store.Name(i), appended[i].second) << i;
        EXPECT_EQ(store.NameView(i), appended[i].second) << i;
        EXPECT_EQ(store.ExactPath(i), appended[i].first + appended[i].second) << i;
        EXPECT_EQ(store.Size(i), appended[i].second.size()) << i;
    }
    EXPECT_EQ(store.DisplayText(3), L"C:\\Data\\a\\deep\\er\\X.BAK");
    store.Sort(RowOrder::ByPath);  // the folder-less row first, then by whole upper-cased folder
    EXPECT_EQ(store.Name(0), L"nofolder.tmp");
    EXPECT_EQ(store.Name(1), L"posix.tmp");
    EXPECT_EQ(store.ExactPath(2), L"C:\\Data\\top.tmp");
    EXPECT_EQ(store.Folder(3), L"C:\\Data\\ab\\");  // "AB\" before "A\": 'B' before '\'
    EXPECT_EQ(store.ExactPath(4), L"C:\\Data\\a\\one.tmp");
    EXPECT_EQ(store.ExactPath(5), L"C:\\Data\\a\\two.tmp");
    EXPECT_EQ(store.ExactPath(6), L"C:\\Data\\a\\deep\\er\\x.bak");
}

// Many rows across blocks of rows and of text, with sizes past 32 bits; an order of row places is
// held only while the rows are not in the order found.
TEST(ResultStore, ManyRowsKeepTheirFactsAndAnOrderCostsNothingUntilChosen) {
    ResultStore store;
    constexpr std::size_t kRows = 20000;
    for (std::size_t i = 0; i < kRows; ++i)
        store.Append(L"/big/f" + std::to_wstring(i / 7) + L"/", L"file-" + std::to_wstring(i) + L".tmp",
                     (std::uint64_t{i % 3} << 33) + i);
    ASSERT_EQ(store.Count(), kRows);
    const std::size_t found = store.ApproximateBytes();
    // 20 bytes a row and its name's 14 characters, the folders shared, a block of each kind part used.
    EXPECT_LT(found, kRows * (20 + 16 * sizeof(wchar_t)) + 256 * 1024);
    EXPECT_EQ(store.ExactPath(12345), L"/big/f1763/file-12345.tmp");
    EXPECT_EQ(store.Size(12345), (std::uint64_t{0} << 33) + 12345);
    EXPECT_EQ(store.Size(12347), (std::uint64_t{2} << 33) + 12347);

    store.Sort(RowOrder::BySize);
    EXPECT_EQ(store.Size(0), (std::uint64_t{2} << 33) + 19997);
    EXPECT_EQ(store.FoundIndex(0), 19997u);
    EXPECT_GT(store.ApproximateBytes(), found);  // the order of places
    store.SetChecked(0, true);
    store.Sort(RowOrder::Found);
    EXPECT_EQ(store.ApproximateBytes(), found);  // back in the order found: the places are gone
    EXPECT_TRUE(store.Checked(19997));
    for (std::size_t i = 0; i < kRows; i += 997) EXPECT_EQ(store.FoundIndex(i), i);

    // A delete keeps some rows: the order found stays known by each row's place, and rows
    // appended later (a row list that grows) follow them.
    store.KeepRows({19997, 5, 6});
    EXPECT_EQ(store.FoundIndex(0), 19997u);
    EXPECT_EQ(store.CheckedCount(), 1u);
    store.Append(L"/big/new/", L"late.tmp", 1);
    store.Sort(RowOrder::Found);
    ASSERT_EQ(store.Count(), 4u);
    EXPECT_EQ(store.ExactPath(0), L"/big/f0/file-5.tmp");
    EXPECT_EQ(store.ExactPath(2), L"/big/f2856/file-19997.tmp");
    EXPECT_EQ(store.ExactPath(3), L"/big/new/late.tmp");
    EXPECT_TRUE(store.Checked(2));
}

}  // namespace

namespace {

// What no file system lists is refused whole, and the store goes on as before; a store emptied
// by Clear or by a delete that keeps nothing holds no memory; an order that lists every row as
// found holds none either.
TEST(ResultStore, RefusedNamesChangeNothingAndEmptyStoresHoldNothing) {
    ResultStore store;
    const std::size_t empty = store.ApproximateBytes();
    store.Append(L"C:\\a\\", L"first.tmp", 5);
    EXPECT_THROW(store.Append(L"C:\\a\\", std::wstring(40000, L'x'), 1), std::length_error);
    EXPECT_THROW(store.Append(L"C:\\" + std::wstring(40000, L'd') + L"\\", L"b.tmp", 1), std::length_error);
    store.Append(L"C:\\a\\b\\", std::wstring(32768, L'n'), 7);  // the longest name a block holds
    ASSERT_EQ(store.Count(), 2u);
    EXPECT_EQ(store.ExactPath(0), L"C:\\a\\first.tmp");
    EXPECT_EQ(store.ExactPath(1), L"C:\\a\\b\\" + std::wstring(32768, L'n'));
    EXPECT_EQ(store.Size(1), 7u);

    store.KeepRows({0, 1});  // every row, as found
    EXPECT_EQ(store.FoundIndex(1), 1u);
    store.Sort(RowOrder::BySize);
    store.KeepRows({1, 0});  // as found again, after a sort
    EXPECT_EQ(store.ExactPath(0), L"C:\\a\\first.tmp");
    EXPECT_EQ(store.Order(), RowOrder::BySize);
    store.KeepRows({});
    EXPECT_EQ(store.Count(), 0u);
    EXPECT_EQ(store.ApproximateBytes(), empty);
    store.Append(L"C:\\z\\", L"again.tmp", 3);  // a store emptied by a delete takes new rows
    EXPECT_EQ(store.ExactPath(0), L"C:\\z\\again.tmp");
    store.Clear();
    EXPECT_EQ(store.ApproximateBytes(), empty);
}

}  // namespace
