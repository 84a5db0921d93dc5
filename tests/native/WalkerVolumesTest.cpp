// The walk over folders that several paths lead to, and over volumes as users have them: link
// loops, mount points, clones that share a serial, FAT and shares whose IDs repeat, file systems
// that refuse the listing records, on the in-memory disk of ScanFakes.h.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScanFakes.h"
#include "scan/core/Walker.h"

using namespace qorvani;
using namespace qorvani::scantest;

namespace {

using Lines = std::vector<std::wstring>;

// ---- Folder links: loops are cut, other links walked -------------------------------------

// R\ holds a.tmp, A\ (b.tmp, self1 -> A, self2 -> A, up -> R, other -> B) and B\ (c.tmp).
FakeLister LoopTree() {
    FakeLister tree;
    tree.AddFile(L"R\\", L"a.tmp", 1);
    const std::wstring a = tree.AddFolder(L"R\\", L"A");
    tree.AddFile(a, L"b.tmp", 2);
    tree.AddLink(a, L"self1", a);
    tree.AddLink(a, L"self2", a);
    tree.AddLink(a, L"up", L"R\\");
    tree.AddLink(a, L"other", L"R\\B\\");
    const std::wstring b = tree.AddFolder(L"R\\", L"B");
    tree.AddFile(b, L"c.tmp", 4);
    return tree;
}

TEST(WalkerTest, AFolderReachedAgainIsPassedOverLikeAnUnlistableFolder) {
    FakeLister tree = LoopTree();
    RecordingSink sink;
    ScanState state;
    ScanFolder(L"R\\", tree, MaskSet(Masks({L"*.TMP"})), sink, sink, state);

    // Each link back to a walked folder is shown as entered, as a folder that cannot be listed
    // is, and gives nothing; B is walked through the link that reaches it first, and its own
    // entry, met later, gives nothing more.
    EXPECT_EQ(sink.log, (Lines{L"show R\\", L"wait", L"match R\\a.tmp",
                               L"show R\\A\\", L"wait", L"match R\\A\\b.tmp",
                               L"show R\\A\\self1\\", L"wait",
                               L"show R\\A\\self2\\", L"wait",
                               L"show R\\A\\up\\", L"wait",
                               L"show R\\A\\other\\", L"wait", L"match R\\A\\other\\c.tmp",
                               L"show R\\B\\", L"wait"}));
    EXPECT_EQ(state.totalBytes, 1u + 2 + 4);
    // The identity comes with each listing: no folder is looked up on its own.
    EXPECT_TRUE(tree.identified.empty());

    // Where listings carry their plain subfolders' IDs, B is known as walked before it is opened;
    // the rows are the same.
    FakeLister carried = LoopTree();
    carried.entryIds = true;
    RecordingSink again;
    ScanState stateAgain;
    ScanFolder(L"R\\", carried, MaskSet(Masks({L"*.TMP"})), again, again, stateAgain);
    EXPECT_EQ(again.log, sink.log);
    EXPECT_EQ(std::count(carried.opened.begin(), carried.opened.end(), L"R\\B\\"), 0);
    EXPECT_EQ(std::count(carried.opened.begin(), carried.opened.end(), L"R\\A\\other\\"), 1);
}

TEST(WalkerTest, LoopsThroughSeveralLinksEndAndUnknownTargetsAreWalked) {
    FakeLister tree;
    // R\X\toY -> R\Y\, R\Y\toX -> R\X\: walking X reaches Y through the link, whose link
    // back to X closes the loop; Y's own entry is then a folder walked already.
    const std::wstring x = tree.AddFolder(L"R\\", L"X");
    const std::wstring y = tree.AddFolder(L"R\\", L"Y");
    tree.AddFile(x, L"x.tmp", 1);
    tree.AddFile(y, L"y.tmp", 2);
    tree.AddLink(x, L"toY", y);
    tree.AddLink(y, L"toX", x);
    // A folder whose identity the system cannot tell is walked: nothing proves it was seen.
    const std::wstring z = tree.AddFolder(L"Q\\", L"Z");
    tree.AddFile(z, L"z.tmp", 3);
    tree.MakeUnidentifiable(z);
    tree.AddLink(y, L"toZ", z);
    tree.AddLink(L"R\\", L"toZ", z);
    RecordingSink sink;
    ScanState state;
    ScanFolder(L"R\\", tree, MaskSet(Masks({L"*.TMP"})), sink, sink, state);

    std::vector<std::wstring> rows;
    for (const Match& m : sink.matches) rows.push_back(m.folder + m.name);
    EXPECT_EQ(rows, (Lines{L"R\\X\\x.tmp", L"R\\X\\toY\\y.tmp", L"R\\X\\toY\\toZ\\z.tmp", L"R\\toZ\\z.tmp"}));
}

// C:\ holds a.tmp, Data\ (the volume of D:\ mounted there), Work\v2\ (c.tmp), Work\current
// (a link to Work\v2\), and h1.tmp and h2.tmp, two names of one file. D:\ holds d.tmp. S:\ is a
// subst-like second letter for C:\Work\.
FakeLister DisksTree() {
    FakeLister tree;
    tree.AddFile(L"C:\\", L"a.tmp", 1);
    tree.AddFile(L"D:\\", L"d.tmp", 8);
    tree.SetVolume(L"D:\\", 9);
    tree.AddLink(L"C:\\", L"Data", L"D:\\");
    const std::wstring work = tree.AddFolder(L"C:\\", L"Work");
    tree.AddLink(work, L"current", L"C:\\Work\\v2\\");
    const std::wstring v2 = tree.AddFolder(work, L"v2");
    tree.AddFile(v2, L"c.tmp", 4);
    tree.AddFile(L"C:\\", L"h1.tmp", 16);
    tree.AddFile(L"C:\\", L"h2.tmp", 16);
    tree.AddAlias(L"S:\\", L"C:\\Work\\");
    tree.volumeRoots = {L"C:\\", L"D:\\"};  // S:\ is a second name, not a volume
    return tree;
}

std::vector<std::wstring> ScanRootsOf(FakeLister& tree, const std::vector<std::wstring>& roots,
                                      ScanState& state) {
    RecordingSink sink;
    WalkedFolders walked;
    ReserveVolumeRoots(roots, tree, walked);
    for (const std::wstring& root : roots)
        ScanFolder(root, tree, MaskSet(Masks({L"*.TMP"})), sink, sink, state, walked);
    std::vector<std::wstring> rows;
    for (const Match& m : sink.matches) rows.push_back(m.folder + m.name);
    return rows;
}

TEST(WalkerTest, EachFolderIsWalkedOnceWhateverPathsLeadToIt) {
    FakeLister tree = DisksTree();
    ScanState state;
    // D:\ is a root of its own: its mount point in C:\ is passed over, and D:\ walked under its
    // letter. The link to the sibling v2 walks it first; its own entry then gives nothing. The
    // second letter S:\ names a folder walked already. A hard link stays two rows.
    EXPECT_EQ(ScanRootsOf(tree, {L"C:\\", L"D:\\", L"S:\\"}, state),
              (Lines{L"C:\\a.tmp", L"C:\\Work\\current\\c.tmp", L"C:\\h1.tmp", L"C:\\h2.tmp", L"D:\\d.tmp"}));
    EXPECT_EQ(state.totalBytes, 1u + 4 + 16 + 16 + 8);

    // Scanned alone, C:\ walks the mounted volume through its mount point.
    ScanState alone;
    EXPECT_EQ(ScanRootsOf(tree, {L"C:\\"}, alone),
              (Lines{L"C:\\a.tmp", L"C:\\Data\\d.tmp", L"C:\\Work\\current\\c.tmp", L"C:\\h1.tmp", L"C:\\h2.tmp"}));
    // A second root that is the same folder as the first walks nothing more.
    ScanState twice;
    EXPECT_EQ(ScanRootsOf(tree, {L"D:\\", L"C:\\Data\\"}, twice), (Lines{L"D:\\d.tmp"}));
}

TEST(WalkerTest, TheRecycleBinAndSystemVolumeInformationAreNeverWalked) {
    FakeLister tree;
    tree.volumeRoots = {L"C:\\", L"M:\\"};
    tree.AddFile(L"C:\\", L"a.tmp", 1);
    for (const wchar_t* name : {L"$Recycle.Bin", L"RECYCLER", L"recycled", L"System Volume Information"}) {
        const std::wstring bin = tree.AddFolder(L"C:\\", name);
        const std::wstring user = tree.AddFolder(bin, L"S-1-5-21-1");
        tree.AddFile(user, L"$RAB12CD.tmp", 2);
        tree.AddFile(user, L"$IAB12CD.tmp", 3);
    }
    // Below the root such names are the user's own folders; a mounted volume's root is a root.
    const std::wstring mine = tree.AddFolder(tree.AddFolder(L"C:\\", L"Users"), L"RECYCLER");
    tree.AddFile(mine, L"b.tmp", 4);
    tree.AddLink(L"C:\\", L"Mounted", L"M:\\");
    tree.SetVolume(L"M:\\", 12);
    tree.AddFile(tree.AddFolder(L"M:\\", L"$RECYCLE.BIN"), L"m.tmp", 5);
    tree.AddFile(L"M:\\", L"n.tmp", 6);

    ScanState state;
    EXPECT_EQ(ScanRootsOf(tree, {L"C:\\"}, state),
              (Lines{L"C:\\a.tmp", L"C:\\Users\\RECYCLER\\b.tmp", L"C:\\Mounted\\n.tmp"}));
    // A typed root inside the bin scans nothing.
    ScanState typed;
    EXPECT_TRUE(ScanRootsOf(tree, {L"C:\\$Recycle.Bin\\S-1-5-21-1\\"}, typed).empty());
    EXPECT_EQ(typed.totalBytes, 0u);
    EXPECT_TRUE(ScanRootsOf(tree, {L"C:\\$recycle.bin\\"}, typed).empty());
}

// ---- Volumes as users have them: clones, FAT, shares, refused records ---------------------

std::vector<std::wstring> RowsOf(const RecordingSink& sink) {
    std::vector<std::wstring> rows;
    for (const Match& m : sink.matches) rows.push_back(m.folder + m.name);
    return rows;
}

TEST(WalkerTest, VolumesAreToldApartByTheirGuidNeverByTheSerialAlone) {
    // A cloned disk keeps its serial, and every NTFS root has the same file ID.
    FakeLister clones;
    clones.entryIds = true;
    clones.AddVolume(L"C:\\", {L"\\\\?\\Volume{c}\\", 0x1234});
    clones.AddVolume(L"E:\\", {L"\\\\?\\Volume{e}\\", 0x1234});
    clones.SetId(L"C:\\", 5);
    clones.SetId(L"E:\\", 5);
    clones.AddFile(clones.AddFolder(L"C:\\", L"Work"), L"c.tmp", 1);
    clones.SetId(L"C:\\Work\\", 40);
    clones.AddFile(clones.AddFolder(L"E:\\", L"Work"), L"e.tmp", 2);
    clones.SetId(L"E:\\Work\\", 40);
    ScanState state;
    EXPECT_EQ(ScanRootsOf(clones, {L"C:\\", L"E:\\"}, state), (Lines{L"C:\\Work\\c.tmp", L"E:\\Work\\e.tmp"}));

    // Two shares of one server without GUIDs and with one serial: each is walked as a root.
    FakeLister shares;
    shares.AddVolume(L"\\\\srv\\a\\", {L"", 9});
    shares.AddVolume(L"\\\\srv\\b\\", {L"", 9});
    shares.AddFile(L"\\\\srv\\a\\", L"a.tmp", 1);
    shares.AddFile(L"\\\\srv\\b\\", L"b.tmp", 1);
    ScanState both;
    EXPECT_EQ(ScanRootsOf(shares, {L"\\\\srv\\a\\", L"\\\\srv\\b\\"}, both),
              (Lines{L"\\\\srv\\a\\a.tmp", L"\\\\srv\\b\\b.tmp"}));
}

// C:\ holds Mnt (a FAT volume mounted there, also F:\, whose root's ID is 0) and J, a junction to
// a plain folder of the volume D:.
FakeLister MountsTree() {
    FakeLister tree;
    tree.volumeRoots = {L"C:\\", L"D:\\", L"F:\\"};
    tree.AddVolume(L"F:\\", {L"\\\\?\\Volume{f}\\", 0xF, L"FAT32", 0, true});
    tree.SetVolume(L"D:\\", 13);
    tree.AddFile(L"C:\\", L"a.tmp", 1);
    tree.AddLink(L"C:\\", L"Mnt", L"F:\\");
    tree.AddLink(L"C:\\", L"J", L"D:\\Users\\Me\\");
    tree.AddFile(tree.AddFolder(L"F:\\", L"$RECYCLE.BIN"), L"$R1.tmp", 2);
    tree.AddFile(L"F:\\", L"f.tmp", 4);
    const std::wstring me = tree.AddFolder(tree.AddFolder(L"D:\\", L"Users"), L"Me");
    tree.AddFile(tree.AddFolder(me, L"RECYCLER"), L"mine.tmp", 8);
    tree.AddFile(tree.AddFolder(L"D:\\", L"RECYCLER"), L"$R2.tmp", 16);
    return tree;
}

TEST(WalkerTest, WhetherALinkLeadsToAVolumesRootIsAskedOfTheVolume) {
    FakeLister tree = MountsTree();
    ScanState state;
    // The FAT volume's bin is left alone through its mount point; the user's RECYCLER folder
    // behind the junction is walked.
    EXPECT_EQ(ScanRootsOf(tree, {L"C:\\"}, state),
              (Lines{L"C:\\a.tmp", L"C:\\Mnt\\f.tmp", L"C:\\J\\RECYCLER\\mine.tmp"}));
    // All drives: F:\ is walked once, under its own letter.
    FakeLister drives = MountsTree();
    ScanState all;
    EXPECT_EQ(ScanRootsOf(drives, {L"C:\\", L"D:\\", L"F:\\"}, all),
              (Lines{L"C:\\a.tmp", L"C:\\J\\RECYCLER\\mine.tmp", L"F:\\f.tmp"}));
}

TEST(WalkerTest, FileIdsAreTrustedOnlyWhereTheFileSystemKeepsThemUnique) {
    // F: is FAT: IDs made from directory positions repeat (A\X and B\Y have one); a link to a
    // sibling walks it again, and only a link back to an open folder is passed over.
    auto fatTree = [](FakeVolume volume) {
        FakeLister tree;
        tree.entryIds = true;
        tree.AddVolume(L"F:\\", std::move(volume));
        const std::wstring a = tree.AddFolder(L"F:\\", L"A");
        const std::wstring x = tree.AddFolder(a, L"X");
        tree.AddFile(x, L"x.tmp", 1);
        const std::wstring y = tree.AddFolder(tree.AddFolder(L"F:\\", L"B"), L"Y");
        tree.AddFile(y, L"y.tmp", 2);
        tree.SetId(x, 77);
        tree.SetId(y, 77);
        tree.AddLink(x, L"up", a);
        tree.AddLink(L"F:\\", L"toY", y);
        return tree;
    };
    for (const FakeVolume& volume : {FakeVolume{L"\\\\?\\Volume{f}\\", 1, L"FAT32"},
                                     FakeVolume{L"\\\\?\\Volume{f}\\", 1, L"exFAT"},
                                     FakeVolume{L"", 1, L"NTFS"}}) {  // a share: no GUID
        FakeLister tree = fatTree(volume);
        RecordingSink sink;
        ScanState state;
        ScanFolder(L"F:\\", tree, MaskSet(Masks({L"*.TMP"})), sink, sink, state);
        EXPECT_EQ(RowsOf(sink), (Lines{L"F:\\A\\X\\x.tmp", L"F:\\B\\Y\\y.tmp", L"F:\\toY\\y.tmp"})) << volume.fileSystem;
        EXPECT_EQ(std::count(sink.shown.begin(), sink.shown.end(), L"F:\\A\\X\\up\\"), 1);  // entered, not listed
        EXPECT_EQ(std::count(tree.opened.begin(), tree.opened.end(), L"F:\\A\\X\\up\\X\\"), 0);
        EXPECT_EQ(tree.fileSystemQueries, 1);  // asked once, of the root
    }
    // A file system that says it opens files by ID keeps them unique, whatever its name: the
    // repeated ID is then taken at its word (B\Y is passed over).
    FakeLister flagged = fatTree({L"\\\\?\\Volume{f}\\", 1, L"XFS", kSupportsOpenByFileId});
    RecordingSink sink;
    ScanState state;
    ScanFolder(L"F:\\", flagged, MaskSet(Masks({L"*.TMP"})), sink, sink, state);
    EXPECT_EQ(RowsOf(sink), (Lines{L"F:\\A\\X\\x.tmp"}));
}

TEST(WalkerTest, AListingWhoseEntriesShareAnIdStopsTrustingTheVolumesIds) {
    // A server that says NTFS gives R\A and R\B one ID; R\C has the ID of A\X, met before the
    // repeat was seen. B holds a link to itself, cut by its final path once IDs tell nothing.
    FakeLister tree;
    tree.entryIds = true;
    tree.AddVolume(L"R\\", {L"\\\\?\\Volume{r}\\", 3});
    const std::wstring a = tree.AddFolder(L"R\\", L"A");
    const std::wstring x = tree.AddFolder(a, L"X");
    const std::wstring b = tree.AddFolder(L"R\\", L"B");
    const std::wstring c = tree.AddFolder(L"R\\", L"C");
    tree.AddFile(x, L"x.tmp", 1);
    tree.AddFile(b, L"b.tmp", 2);
    tree.AddFile(c, L"c.tmp", 4);
    tree.AddLink(b, L"self", b);
    tree.SetId(a, 50);
    tree.SetId(b, 50);
    tree.SetId(x, 60);
    tree.SetId(c, 60);
    // Q:\ is another volume: its IDs still hold (the link to its sibling is passed over).
    tree.SetVolume(L"Q:\\", 4);
    const std::wstring v2 = tree.AddFolder(L"Q:\\", L"v2");
    tree.AddFile(v2, L"q.tmp", 8);
    tree.AddLink(L"Q:\\", L"current", v2);
    tree.SetId(v2, 60);

    ScanState state;
    EXPECT_EQ(ScanRootsOf(tree, {L"R\\", L"Q:\\"}, state),
              (Lines{L"R\\A\\X\\x.tmp", L"R\\B\\b.tmp", L"R\\C\\c.tmp", L"Q:\\v2\\q.tmp"}));
    EXPECT_EQ(state.totalBytes, 15u);
    EXPECT_EQ(std::count(tree.opened.begin(), tree.opened.end(), L"R\\B\\self\\"), 1);  // and passed over
}

TEST(WalkerTest, RefusedListingRecordsFallBackAndTheVolumeRemembersWhatAnswered) {
    // ERROR_INVALID_FUNCTION (also what STATUS_NOT_IMPLEMENTED comes to), ERROR_NOT_SUPPORTED,
    // ERROR_INVALID_PARAMETER, and any other failure of a first call.
    using Calls = std::vector<std::pair<std::wstring, ListingKind>>;
    constexpr auto kExtd = ListingKind::IdExtd, kBoth = ListingKind::IdBoth, kFind = ListingKind::Find;
    auto tree = [](std::uint32_t extdError, std::uint32_t bothError) {
        FakeLister disk;
        disk.entryIds = true;
        disk.AddVolume(L"V:\\", {L"\\\\?\\Volume{v}\\", 1, L"NTFS", 0, false, extdError, bothError});
        const std::wstring sub = disk.AddFolder(L"V:\\", L"sub");
        disk.AddFile(sub, L"s.tmp", 2);
        disk.AddFile(disk.AddFolder(sub, L"deep"), L"d.tmp", 4);
        disk.AddFile(L"V:\\", L"v.tmp", 1);
        return disk;
    };
    for (const std::uint32_t error : {1u, 50u, 87u, 5u}) {
        FakeLister disk = tree(error, 0);
        RecordingSink sink;
        ScanState state;
        ScanFolder(L"V:\\", disk, MaskSet(Masks({L"*.TMP"})), sink, sink, state);
        EXPECT_EQ(state.totalBytes, 7u) << error;
        EXPECT_EQ(disk.firstCalls, (Calls{{L"V:\\", kExtd}, {L"V:\\", kBoth}, {L"V:\\sub\\", kBoth},
                                          {L"V:\\sub\\deep\\", kBoth}}))
            << error;
        EXPECT_TRUE(disk.placed == Lines{L"V:\\"});  // plain folders still take their IDs from the records
    }
    // Both handle records refused: FindFirstFileExW's records, which carry no IDs, so each
    // plain folder asks its handle.
    FakeLister found = tree(1, 50);
    RecordingSink sink;
    ScanState state;
    ScanFolder(L"V:\\", found, MaskSet(Masks({L"*.TMP"})), sink, sink, state);
    EXPECT_EQ(state.totalBytes, 7u);
    EXPECT_EQ(found.firstCalls, (Calls{{L"V:\\", kExtd}, {L"V:\\", kBoth}, {L"V:\\", kFind},
                                       {L"V:\\sub\\", kFind}, {L"V:\\sub\\deep\\", kFind}}));
    EXPECT_EQ(found.placed, (Lines{L"V:\\", L"V:\\sub\\", L"V:\\sub\\deep\\"}));
    // "No more files" or "file not found" on a first call is an empty folder, not a refusal.
    for (const std::uint32_t empty : {kListingNoMoreFiles, kListingFileNotFound}) {
        FakeLister quiet = tree(empty, 0);
        RecordingSink none;
        ScanState nothing;
        ScanFolder(L"V:\\", quiet, MaskSet(Masks({L"*.TMP"})), none, none, nothing);
        EXPECT_EQ(quiet.firstCalls, (Calls{{L"V:\\", kExtd}}));
        EXPECT_TRUE(none.matches.empty());
    }
    EXPECT_EQ(ReadFirstRecords(kFind, [](ListingKind) { return 87u; }).answered, std::nullopt);  // none left
}

TEST(WalkerTest, AFolderCountsAsWalkedOnlyOnceItWasOpened) {
    // R\long-name\T\ is too long a path to open; the link R\t, met later, reaches T by a
    // shorter path.
    FakeLister tree;
    tree.entryIds = true;
    const std::wstring t = tree.AddFolder(tree.AddFolder(L"R\\", L"long-name"), L"T");
    tree.AddFile(t, L"t.tmp", 3);
    tree.AddLink(L"R\\", L"t", t);
    tree.longestOpenable = t.size() - 1;
    RecordingSink sink;
    ScanState state;
    ScanFolder(L"R\\", tree, MaskSet(Masks({L"*.TMP"})), sink, sink, state);
    EXPECT_EQ(RowsOf(sink), (Lines{L"R\\t\\t.tmp"}));
    EXPECT_EQ(tree.opened, (Lines{L"R\\", L"R\\long-name\\", t, L"R\\t\\"}));
}

}  // namespace

// The walked folders' table: thousands of folders on several volumes, 128-bit IDs and far
// listing numbers beside it; the listing that first gave an ID is the one remembered.
TEST(WalkerTest, TheWalkedFoldersTableTellsEachFolderAndTheListingThatGaveIt) {
    WalkedFolders walked;
    constexpr std::uint64_t kFolders = 5000;
    for (std::uint64_t i = 1; i <= kFolders; ++i) walked.Record(FolderIdentity{1 + i % 3, i * 4096, 0}, i / 10);
    walked.Record(FolderIdentity{2, 77, 5}, 9);                      // ReFS: past 64 bits
    walked.Record(FolderIdentity{2, 78, 0}, 0x1'0000'0001ull);       // a listing past 32 bits
    walked.Record(FolderIdentity{1 + 10 % 3, 10 * 4096, 0}, 12345);  // again: the first listing stays
    EXPECT_EQ(walked.WalkedCount(), kFolders + 2);
    for (std::uint64_t i = 1; i <= kFolders; ++i) {
        const FolderIdentity id{1 + i % 3, i * 4096, 0};
        ASSERT_EQ(walked.Look(id, 0), WalkedFolders::Seen::Before) << i;
        if (i >= 10) ASSERT_EQ(walked.Look(id, i / 10), WalkedFolders::Seen::InSameListing) << i;
        ASSERT_EQ(walked.Look(id, kFolders), WalkedFolders::Seen::Before) << i;
        ASSERT_EQ(walked.Look(FolderIdentity{1 + (i + 1) % 3, i * 4096, 0}, 0), WalkedFolders::Seen::No) << i;
    }
    EXPECT_EQ(walked.Look(FolderIdentity{2, 4096 * 7 + 1, 0}, 0), WalkedFolders::Seen::No);
    EXPECT_EQ(walked.Look(FolderIdentity{2, 77, 5}, 9), WalkedFolders::Seen::InSameListing);
    EXPECT_EQ(walked.Look(FolderIdentity{2, 77, 6}, 9), WalkedFolders::Seen::No);
    EXPECT_EQ(walked.Look(FolderIdentity{2, 78, 0}, 0x1'0000'0001ull), WalkedFolders::Seen::InSameListing);
    EXPECT_EQ(walked.Look(FolderIdentity{2, 78, 0}, 1), WalkedFolders::Seen::Before);
    EXPECT_LE(walked.ApproximateBytes(), kFolders * 48);  // 16 bytes a folder, the table at most 3/4 full
}
