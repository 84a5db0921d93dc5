#include <gtest/gtest.h>

#include "scan/core/ResultStore.h"

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

TEST(ResultStore, KeepRowsKeepsOrderChecksAndPathsButDropsSizes) {
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
    for (std::size_t i = 0; i < store.Count(); ++i) EXPECT_EQ(store.SizeText(i), L"");
    store.KeepRows({});
    EXPECT_EQ(store.Count(), 0u);
    store.Clear();
    EXPECT_EQ(store.Count(), 0u);
}

}  // namespace
