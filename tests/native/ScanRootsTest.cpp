#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/core/RedirectedFolders.h"
#include "scan/core/ScanRoots.h"

using namespace qorvani;

namespace {

using Roots = std::vector<std::wstring>;

FixedDrives Drives(std::initializer_list<const wchar_t*> roots) {
    FixedDrives drives;
    for (const wchar_t* root : roots) drives.push_back(root);
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

TEST(ScanRootsTest, WhichRootsTheSystemMustResolveFirst) {
    // Relative to the current folder, to the current drive's root, or to a drive's current
    // folder; or holding "." or ".." folders or '/'.
    for (const wchar_t* root : {L"temp\\", L"\\temp\\", L"C:temp\\", L"1:\\x\\", L"C:\\a\\..\\b\\", L"C:\\.\\b\\",
                                L"C:/Temp\\", L"//server/share\\"})
        EXPECT_TRUE(NeedsFullPath(root)) << root;
    for (const wchar_t* root : {L"C:\\", L"d:\\Temp\\", L"C:\\OLD..BAK\\", L"C:\\.git\\", L"\\\\server\\share\\",
                                L"\\\\?\\C:\\a\\..\\"})
        EXPECT_FALSE(NeedsFullPath(root)) << root;
    EXPECT_FALSE(IsFullyQualified(L"C:"));
    EXPECT_TRUE(NeedsFullPath(L"/home/../x/", L'/'));
    EXPECT_FALSE(NeedsFullPath(L"/home/x\\y/", L'/'));
}

TEST(ScanRootsTest, ATypedRelativePathBecomesOneFullRoot) {
    const FixedDrives drives = Drives({L"C:\\"});
    std::vector<std::wstring> asked;
    const FullPathFunction system = [&asked](const std::wstring& path) -> std::wstring {
        asked.push_back(path);
        if (path == L"temp\\") return L"C:\\Users\\me\\temp\\";
        if (path == L"C:temp\\") return L"C:\\Users\\me\\temp\\";
        if (path == L"\\temp\\") return L"C:\\temp\\";
        if (path == L"C:/a/../b\\") return L"C:\\b";  // the separator is added when missing
        if (path == L"odd\\") return L"still relative";
        return {};
    };
    EXPECT_EQ(ScanRoots(false, drives, L"temp", L'\\', system), Roots{L"C:\\Users\\me\\temp\\"});
    EXPECT_EQ(ScanRoots(false, drives, L"C:temp", L'\\', system), Roots{L"C:\\Users\\me\\temp\\"});
    EXPECT_EQ(ScanRoots(false, drives, L"\\temp", L'\\', system), Roots{L"C:\\temp\\"});
    EXPECT_EQ(ScanRoots(false, drives, L"C:/a/../b", L'\\', system), Roots{L"C:\\b\\"});
    EXPECT_EQ(asked, (Roots{L"temp\\", L"C:temp\\", L"\\temp\\", L"C:/a/../b\\"}));

    // "C:" was always the drive's root, and stays so; full paths are not resolved again.
    asked.clear();
    EXPECT_EQ(ScanRoots(false, drives, L"C:", L'\\', system), Roots{L"C:\\"});
    EXPECT_EQ(ScanRoots(false, drives, L"D:\\Temp", L'\\', system), Roots{L"D:\\Temp\\"});
    EXPECT_EQ(ScanRoots(false, drives, L"", L'\\', system), Roots{});
    EXPECT_TRUE(asked.empty());

    // No relative root ever reaches the walk: unresolved, resolved to something relative, or
    // no way to resolve at all.
    EXPECT_EQ(ScanRoots(false, drives, L"gone", L'\\', system), Roots{});
    EXPECT_EQ(ScanRoots(false, drives, L"odd", L'\\', system), Roots{});
    EXPECT_EQ(ScanRoots(false, drives, L"temp"), Roots{});
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

// ---- WoW64: the folders the redirector replaces --------------------------------------------

TEST(RedirectedFolders, System32AndAllBelowItAreCoveredButNotItsExemptFolders) {
    const RedirectedFolders folders = Wow64RedirectedFolders(L"C:\\windows", L"C:\\windows\\system32");
    EXPECT_TRUE(folders.Covers(L"C:\\windows\\system32\\"));
    EXPECT_TRUE(folders.Covers(L"C:\\WINDOWS\\System32\\"));
    EXPECT_TRUE(folders.Covers(L"c:\\Windows\\SYSTEM32\\config\\"));
    EXPECT_TRUE(folders.Covers(L"C:\\Windows\\lastgood\\System32\\"));
    EXPECT_TRUE(folders.Covers(L"C:\\Windows\\System32\\drivers\\"));       // only drivers\etc is exempt
    EXPECT_FALSE(folders.Covers(L"C:\\Windows\\System32\\drivers\\etc\\"));
    EXPECT_FALSE(folders.Covers(L"C:\\Windows\\System32\\spool\\PRINTERS\\"));
    EXPECT_FALSE(folders.Covers(L"C:\\Windows\\System32\\CatRoot2\\"));
    EXPECT_TRUE(folders.Covers(L"C:\\Windows\\System32\\catroot3\\"));     // a name, not a prefix
    EXPECT_FALSE(folders.Covers(L"C:\\Windows\\SysWOW64\\"));              // walked under its own name
    EXPECT_FALSE(folders.Covers(L"C:\\Windows\\Sysnative\\"));             // names the real System32 truly
    EXPECT_FALSE(folders.Covers(L"C:\\Windows\\System321\\"));
    EXPECT_FALSE(folders.Covers(L"C:\\Windows\\"));
    EXPECT_FALSE(folders.Covers(L"C:\\"));
    EXPECT_FALSE(folders.Covers(L"D:\\Windows\\System32\\"));
    EXPECT_FALSE(folders.Covers(L"C:\\Windows\\lastgood\\"));
}

TEST(RedirectedFolders, TypedSpellingsOfTheSameFolderAreCovered) {
    const RedirectedFolders folders = Wow64RedirectedFolders(L"C:\\Windows\\", L"C:\\Windows\\System32\\");
    EXPECT_TRUE(folders.Covers(L"C:/Windows/System32/"));
    EXPECT_TRUE(folders.Covers(L"C:\\\\Windows\\\\\\System32\\"));
    EXPECT_TRUE(folders.Covers(L"C:\\Windows\\.\\System32\\"));
    EXPECT_TRUE(folders.Covers(L"C:\\Windows\\Temp\\..\\System32\\"));
    EXPECT_TRUE(folders.Covers(L"C:\\Windows\\System32. .\\"));           // Windows drops the final dots
    EXPECT_TRUE(folders.Covers(L"C:\\..\\..\\Windows\\System32\\"));      // ".." stops at the drive
    EXPECT_FALSE(folders.Covers(L"C:\\Windows\\System32\\..\\"));
    EXPECT_FALSE(folders.Covers(L"C:\\Windows\\System32\\drivers\\..\\drivers\\.\\etc\\"));
}

TEST(RedirectedFolders, Wow64IsToldByIsWow64Process2WhereItAnswers) {
    constexpr std::uint16_t kUnknown = 0, kI386 = 0x014c;
    // An x86 program on ARM64 Windows: IsWow64Process says no, IsWow64Process2 knows better.
    EXPECT_TRUE(RunsUnderWow64(kI386, false));
    EXPECT_TRUE(RunsUnderWow64(kI386, std::nullopt));
    // A native process (x86 on 32-bit Windows, x64 or ARM64 on 64-bit Windows).
    EXPECT_FALSE(RunsUnderWow64(kUnknown, std::nullopt));
    // Before Windows 10 1709, or when IsWow64Process2 fails: IsWow64Process.
    EXPECT_TRUE(RunsUnderWow64(std::nullopt, true));
    EXPECT_FALSE(RunsUnderWow64(std::nullopt, false));
    EXPECT_FALSE(RunsUnderWow64(std::nullopt, std::nullopt));  // neither answered
}

TEST(RedirectedFolders, NothingIsCoveredOutsideWow64) {
    const RedirectedFolders none;
    EXPECT_TRUE(none.Empty());
    EXPECT_FALSE(none.Covers(L"C:\\Windows\\System32\\"));
    EXPECT_EQ(CanonicalFolderKey(L"c:\\a\\\\b\\..\\c."), L"C:\\A\\C\\");
    EXPECT_EQ(CanonicalFolderKey(L"C:"), L"C:\\");
    EXPECT_EQ(CanonicalFolderKey(L"\\\\srv\\share\\x\\"), L"\\SRV\\SHARE\\X\\");
}
