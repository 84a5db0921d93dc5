#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/core/ScanRoots.h"

using namespace qorvani;

namespace {

using Roots = std::vector<std::wstring>;

FixedDrives Drives(std::initializer_list<const wchar_t*> roots) {
    FixedDrives drives;
    for (const wchar_t* root : roots) drives.Append(root);
    return drives;
}

TEST(ScanRootsTest, AllDrivesGivesEveryFixedDriveInOrder) {
    EXPECT_EQ(ScanRoots(true, Drives({L"C:\\", L"D:\\"}), L"E:\\Ignored"), (Roots{L"C:\\", L"D:\\"}));
    EXPECT_EQ(ScanRoots(true, Drives({}), L"C:\\"), Roots{});
}

TEST(ScanRootsTest, PathBoxGivesOneRootEndingInTheSeparator) {
    const FixedDrives drives = Drives({L"C:\\"});
    EXPECT_EQ(ScanRoots(false, drives, L"D:\\Temp"), Roots{L"D:\\Temp\\"});
    EXPECT_EQ(ScanRoots(false, drives, L"D:\\Temp\\"), Roots{L"D:\\Temp\\"});
    EXPECT_EQ(ScanRoots(false, drives, L"C:\\"), Roots{L"C:\\"});
    EXPECT_EQ(ScanRoots(false, drives, L"/home/me", L'/'), Roots{L"/home/me/"});
    EXPECT_EQ(ScanRoots(false, drives, L"/", L'/'), Roots{L"/"});
    // An empty box walks nothing, rather than the process's current folder.
    EXPECT_EQ(ScanRoots(false, drives, L""), Roots{});
}

TEST(ScanRootsTest, AllDrivesBoxClick) {
    const AllDrivesEffect checked = AllDrivesClicked(true, L"C:\\D:\\");
    EXPECT_EQ(checked.pathText, L"C:\\D:\\");
    EXPECT_FALSE(checked.pathBoxEnabled);
    EXPECT_FALSE(checked.browseEnabled);

    EXPECT_EQ(AllDrivesClicked(true, L"").pathText, L"");

    // Clearing the box always brings back "C:\", whatever was shown before.
    const AllDrivesEffect cleared = AllDrivesClicked(false, L"C:\\D:\\");
    EXPECT_EQ(cleared.pathText, L"C:\\");
    EXPECT_TRUE(cleared.pathBoxEnabled);
    EXPECT_TRUE(cleared.browseEnabled);
}

TEST(ScanRootsTest, BrowseAnswer) {
    EXPECT_EQ(PathFromBrowse(L"D:\\Temp"), std::optional<std::wstring>(L"D:\\Temp\\"));
    EXPECT_EQ(PathFromBrowse(L"E:\\"), std::optional<std::wstring>(L"E:\\"));
    EXPECT_EQ(PathFromBrowse(L""), std::nullopt);
}

}  // namespace
