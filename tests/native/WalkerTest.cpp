#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ScanFakes.h"
#include "scan/core/Walker.h"
#include "scan/posix/PosixLister.h"
#include "scan/posix/Utf8Names.h"

using namespace qorvani;
using namespace qorvani::scantest;

namespace {

using Lines = std::vector<std::wstring>;

ActiveMasks Masks(std::initializer_list<const wchar_t*> masks) {
    ActiveMasks result;
    for (const wchar_t* mask : masks) result.Append(mask);
    return result;
}

// ---- The walk's order and rules, on an in-memory tree ------------------------------------

// R\ holds a.bak, SUB1\ (d.bak, DEEP\ (e.bak)), b.bak, SUB2\ (f.Bak), c.txt, in that order.
FakeLister SampleTree() {
    FakeLister tree;
    tree.AddFile(L"R\\", L"a.bak", 10);
    const std::wstring sub1 = tree.AddFolder(L"R\\", L"SUB1");
    tree.AddFile(sub1, L"d.bak", 1);
    const std::wstring deep = tree.AddFolder(sub1, L"DEEP");
    tree.AddFile(deep, L"e.bak", 2);
    tree.AddFile(L"R\\", L"b.bak", 20);
    const std::wstring sub2 = tree.AddFolder(L"R\\", L"SUB2");
    tree.AddFile(sub2, L"f.Bak", 3);
    tree.AddFile(L"R\\", L"c.txt", 4);
    return tree;
}

TEST(WalkerTest, DepthFirstInListingOrder) {
    FakeLister tree = SampleTree();
    RecordingSink sink;
    ScanState state;
    state.totalBytes = 100;  // the walk adds to what is there
    ScanFolder(L"R\\", tree, MaskSet(Masks({L"*.BAK"})), sink, sink, state);

    EXPECT_EQ(sink.log, (Lines{L"show R\\", L"wait", L"match R\\a.bak",
                               L"show R\\SUB1\\", L"wait", L"match R\\SUB1\\d.bak",
                               L"show R\\SUB1\\DEEP\\", L"wait", L"match R\\SUB1\\DEEP\\e.bak",
                               L"match R\\b.bak",
                               L"show R\\SUB2\\", L"wait", L"match R\\SUB2\\f.Bak"}));
    EXPECT_EQ(tree.opened, (Lines{L"R\\", L"R\\SUB1\\", L"R\\SUB1\\DEEP\\", L"R\\SUB2\\"}));
    ASSERT_EQ(sink.matches.size(), 5u);
    EXPECT_EQ(sink.matches[4].folder, L"R\\SUB2\\");
    EXPECT_EQ(sink.matches[4].name, L"f.Bak");
    EXPECT_EQ(sink.matches[4].upperName, L"F.BAK");
    EXPECT_EQ(sink.matches[4].size, 3u);
    EXPECT_EQ(state.totalBytes, 100u + 10 + 1 + 2 + 20 + 3);
    EXPECT_EQ(tree.sizeQueries, 5);  // sizes are asked for matched files only
    EXPECT_TRUE(tree.identified.empty());  // no link, no identity asked
}

// The window keeps itself responsive between folder entries too: a single folder of many
// files that match nothing still gives it a step per entry, and never a chance to run input.
TEST(WalkerTest, EveryListedEntryIsAPaceStep) {
    FakeLister tree;
    for (int i = 0; i < 5000; ++i) tree.AddFile(L"R\\", L"f" + std::to_wstring(i) + L".txt");
    const std::wstring sub = tree.AddFolder(L"R\\", L"SUB");
    tree.AddFile(sub, L"a.bak");
    struct PacedSink : RecordingSink {
        int paces = 0;
        void AtWork() override { ++paces; }
    } sink;
    ScanState state;
    ScanFolder(L"R\\", tree, MaskSet(Masks({L"*.BAK"})), sink, sink, state);
    // Two folders, each with "." and "..": 5,001 + 1 entries and 4 dots.
    EXPECT_EQ(sink.paces, 5001 + 1 + 4);
    EXPECT_EQ(sink.log, (Lines{L"show R\\", L"wait", L"show R\\SUB\\", L"wait", L"match R\\SUB\\a.bak"}));
}

TEST(WalkerTest, FoldersAreDescendedNeverMatched) {
    FakeLister tree;
    const std::wstring old = tree.AddFolder(L"R\\", L"OLD.BAK");
    tree.AddFile(old, L"inner.bak", 5);
    tree.AddFolder(L"R\\", L"EMPTY");
    tree.AddUnlistableFolder(L"R\\", L"LOCKED.BAK");
    tree.AddFile(L"R\\", L"...", 1);   // only "." and ".." themselves are passed over
    tree.AddFile(L"R\\", L"last.bak", 7);
    RecordingSink sink;
    ScanState state;
    ScanFolder(L"R\\", tree, MaskSet(Masks({L"*.BAK", L"..."})), sink, sink, state);

    EXPECT_EQ(sink.log, (Lines{L"show R\\", L"wait",
                               L"show R\\OLD.BAK\\", L"wait", L"match R\\OLD.BAK\\inner.bak",
                               L"show R\\EMPTY\\", L"wait",
                               L"show R\\LOCKED.BAK\\", L"wait",  // shown, then cannot be listed
                               L"match R\\...", L"match R\\last.bak"}));
    EXPECT_EQ(state.totalBytes, 13u);
}

TEST(WalkerTest, UnlistableRootShowsAndAddsNothing) {
    FakeLister tree;
    RecordingSink sink;
    ScanState state;
    ScanFolder(L"X:\\", tree, MaskSet(Masks({L"*"})), sink, sink, state);
    EXPECT_EQ(sink.log, (Lines{L"show X:\\", L"wait"}));
    EXPECT_EQ(state.totalBytes, 0u);
}

TEST(WalkerTest, NoActiveMaskStillWalksEveryFolder) {
    FakeLister tree = SampleTree();
    RecordingSink sink;
    ScanState state;
    ScanFolder(L"R\\", tree, MaskSet(), sink, sink, state);
    EXPECT_EQ(sink.shown, (Lines{L"R\\", L"R\\SUB1\\", L"R\\SUB1\\DEEP\\", L"R\\SUB2\\"}));
    EXPECT_TRUE(sink.matches.empty());
    EXPECT_EQ(state.totalBytes, 0u);
    EXPECT_EQ(tree.sizeQueries, 0);
}

TEST(WalkerTest, StopAlreadySetEntersNothing) {
    FakeLister tree = SampleTree();
    RecordingSink sink;
    ScanState state;
    state.stopRequested = true;
    ScanFolder(L"R\\", tree, MaskSet(Masks({L"*"})), sink, sink, state);
    EXPECT_TRUE(sink.log.empty());
    EXPECT_TRUE(tree.opened.empty());
    EXPECT_EQ(state.totalBytes, 0u);
}

TEST(WalkerTest, StopDuringTheWalkFinishesTheOpenFolders) {
    // Asked while SUB1 is entered (handling waiting input there): SUB1 is still listed, as are
    // the rest of R's files; DEEP and SUB2 are not entered.
    {
        FakeLister tree = SampleTree();
        RecordingSink sink;
        ScanState state;
        sink.onWaitingInput = [&](const std::wstring& folder) {
            if (folder == L"R\\SUB1\\") state.stopRequested = true;
        };
        ScanFolder(L"R\\", tree, MaskSet(Masks({L"*.BAK"})), sink, sink, state);
        EXPECT_EQ(sink.log, (Lines{L"show R\\", L"wait", L"match R\\a.bak",
                                   L"show R\\SUB1\\", L"wait", L"match R\\SUB1\\d.bak",
                                   L"match R\\b.bak"}));
        EXPECT_EQ(tree.opened, (Lines{L"R\\", L"R\\SUB1\\"}));
        EXPECT_EQ(state.totalBytes, 31u);
        EXPECT_TRUE(state.stopRequested);
    }
    // Asked while the deepest folder is shown: every folder above it finishes its files.
    {
        FakeLister tree = SampleTree();
        RecordingSink sink;
        ScanState state;
        sink.onShowFolder = [&](const std::wstring& folder) {
            if (folder == L"R\\SUB1\\DEEP\\") state.stopRequested = true;
        };
        ScanFolder(L"R\\", tree, MaskSet(Masks({L"*.BAK", L"*.TXT"})), sink, sink, state);
        EXPECT_EQ(sink.shown, (Lines{L"R\\", L"R\\SUB1\\", L"R\\SUB1\\DEEP\\"}));
        std::vector<std::wstring> names;
        for (const Match& m : sink.matches) names.push_back(m.name);
        EXPECT_EQ(names, (Lines{L"a.bak", L"d.bak", L"e.bak", L"b.bak", L"c.txt"}));
    }
}

// A lister that makes a chain of folders "d" of any depth, each with one file, without
// holding the tree.
class ChainLister : public DirectoryLister {
public:
    explicit ChainLister(std::size_t depth) : depth_(depth) {}
    wchar_t Separator() const override { return L'\\'; }
    std::unique_ptr<DirectoryListing> Open(const std::wstring& folderPath) override {
        return std::make_unique<Listing>(folderPath.size() / 2 < depth_);
    }

private:
    class Listing : public DirectoryListing {
    public:
        explicit Listing(bool hasChild) : hasChild_(hasChild) {}
        bool Next() override { return ++index_ < (hasChild_ ? 2 : 1); }
        std::wstring_view Name() const override { return index_ == 0 ? L"f.tmp" : L"d"; }
        bool IsFolder() const override { return index_ == 1; }
        std::uint64_t Size() override { return 1; }

    private:
        bool hasChild_;
        int index_ = -1;
    };
    std::size_t depth_;
};

class CountingSink : public WalkSink, public Pacing {
public:
    void ShowFolder(const std::wstring& path) override {
        ++folders;
        longestPath = std::max(longestPath, path.size());
    }
    void AppendMatch(const std::wstring&, std::wstring_view, std::uint64_t) override {
        ++files;
    }
    std::size_t folders = 0;
    std::size_t files = 0;
    std::size_t longestPath = 0;
};

TEST(WalkerTest, VeryDeepTreeNeedsNoDeepStack) {
    constexpr std::size_t kDepth = 200000;
    ChainLister chain(kDepth);
    CountingSink sink;
    ScanState state;
    ScanFolder(L"R\\", chain, MaskSet(Masks({L"*.TMP"})), sink, sink, state);
    EXPECT_EQ(sink.folders, kDepth);
    EXPECT_EQ(sink.files, kDepth);
    EXPECT_EQ(sink.longestPath, 2 * kDepth);
    EXPECT_EQ(state.totalBytes, kDepth);
}

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

// ---- Real trees through the POSIX lister -------------------------------------------------

// Lists in name order (readdir's order is the file system's), reading each folder whole.
class SortedLister : public DirectoryLister {
public:
    explicit SortedLister(DirectoryLister& inner) : inner_(inner) {}
    wchar_t Separator() const override { return inner_.Separator(); }
    std::unique_ptr<DirectoryListing> Open(const std::wstring& folderPath) override {
        std::unique_ptr<DirectoryListing> listing = inner_.Open(folderPath);
        if (!listing) return nullptr;
        std::vector<FakeEntry> entries;
        while (listing->Next()) {
            const bool folder = listing->IsFolder();
            entries.push_back({std::wstring(listing->Name()), folder, folder ? 0 : listing->Size(),
                               folder && listing->EntryIsLink()});
        }
        std::sort(entries.begin(), entries.end(),
                  [](const FakeEntry& a, const FakeEntry& b) { return a.name < b.name; });
        return std::make_unique<Listing>(std::move(entries), listing->Place(), listing->FileSystem());
    }
    std::optional<FolderPlace> Identify(const std::wstring& folderPath) override {
        return inner_.Identify(folderPath);
    }

private:
    class Listing : public DirectoryListing {
    public:
        Listing(std::vector<FakeEntry> entries, std::optional<FolderPlace> place, std::optional<FileSystemFacts> facts)
            : entries_(std::move(entries)), place_(std::move(place)), facts_(std::move(facts)) {}
        bool Next() override { return ++index_ < entries_.size(); }
        std::wstring_view Name() const override { return entries_[index_].name; }
        bool IsFolder() const override { return entries_[index_].folder; }
        bool EntryIsLink() const override { return entries_[index_].link; }
        std::uint64_t Size() override { return entries_[index_].size; }
        std::optional<FolderPlace> Place() const override { return place_; }
        std::optional<FileSystemFacts> FileSystem() const override { return facts_; }

    private:
        std::vector<FakeEntry> entries_;
        std::optional<FolderPlace> place_;
        std::optional<FileSystemFacts> facts_;
        std::size_t index_ = static_cast<std::size_t>(-1);
    };
    DirectoryLister& inner_;
};

class RealTreeTest : public ::testing::Test {
protected:
    virtual std::filesystem::path Base() const { return std::filesystem::temp_directory_path(); }

    void SetUp() override {
        std::string pattern = (Base() / "qorvani-walk-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern + "/";
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    // Paths relative to the root, as bytes.
    void MakeFolder(const std::string& relative) { ASSERT_EQ(mkdir((root_ + relative).c_str(), 0755), 0); }
    void MakeFile(const std::string& relative, off_t size) {
        const int fd = open((root_ + relative).c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(ftruncate(fd, size), 0);
        close(fd);
    }
    std::wstring Root() const {
        std::wstring root;
        DecodeFileName(root_, root);
        return root;
    }

    std::string root_;
};

TEST_F(RealTreeTest, WalksDepthFirstWithSizes) {
    MakeFile("a.bak", 5);
    MakeFolder("OLD.BAK");
    MakeFile("OLD.BAK/x.bak", 2000);
    MakeFolder("empty");
    MakeFile("notes.txt", 9);
    MakeFile("z.Bak", 0);
    MakeFile(".hidden.bak", 3);

    PosixLister posix;
    SortedLister lister(posix);
    RecordingSink sink;
    ScanState state;
    const std::wstring r = Root();
    ScanFolder(r, lister, MaskSet(Masks({L"*.BAK"})), sink, sink, state);

    EXPECT_EQ(sink.log, (Lines{L"show " + r, L"wait", L"match " + r + L".hidden.bak",
                               L"show " + r + L"OLD.BAK/", L"wait", L"match " + r + L"OLD.BAK/x.bak",
                               L"match " + r + L"a.bak",
                               L"show " + r + L"empty/", L"wait",
                               L"match " + r + L"z.Bak"}));
    ASSERT_EQ(sink.matches.size(), 4u);
    EXPECT_EQ(sink.matches[1].size, 2000u);
    EXPECT_EQ(sink.matches[3].upperName, L"Z.BAK");
    EXPECT_EQ(sink.matches[3].size, 0u);
    EXPECT_EQ(state.totalBytes, 2008u);
}

TEST_F(RealTreeTest, UnsortedListingGivesTheSameRows) {
    for (const char* name : {"1.tmp", "2.tmp", "3.tmp", "4.tmp"}) MakeFile(name, 1);
    MakeFolder("sub");
    MakeFile("sub/5.tmp", 1);
    PosixLister lister;
    RecordingSink sink;
    ScanState state;
    ScanFolder(Root(), lister, MaskSet(Masks({L"*.TMP"})), sink, sink, state);
    std::vector<std::wstring> names;
    for (const Match& m : sink.matches) names.push_back(m.folder.substr(Root().size()) + m.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Lines{L"1.tmp", L"2.tmp", L"3.tmp", L"4.tmp", L"sub/5.tmp"}));
    EXPECT_EQ(sink.shown.size(), 2u);
    EXPECT_EQ(state.totalBytes, 5u);
}

TEST_F(RealTreeTest, LinksCountAsWhatTheyPointToAndASiblingIsListedOnce) {
    MakeFolder("target");
    MakeFile("target/in.bak", 11);
    MakeFile("file.dat", 4096);
    ASSERT_EQ(symlink((root_ + "target").c_str(), (root_ + "link").c_str()), 0);
    ASSERT_EQ(symlink((root_ + "file.dat").c_str(), (root_ + "alias.bak").c_str()), 0);
    ASSERT_EQ(symlink((root_ + "nowhere").c_str(), (root_ + "dead.bak").c_str()), 0);

    PosixLister posix;
    SortedLister lister(posix);
    RecordingSink sink;
    ScanState state;
    const std::wstring r = Root();
    ScanFolder(r, lister, MaskSet(Masks({L"*.BAK"})), sink, sink, state);

    // target/ is walked through the link met first; its own entry is shown and gives nothing.
    EXPECT_EQ(sink.shown, (Lines{r, r + L"link/", r + L"target/"}));
    ASSERT_EQ(sink.matches.size(), 3u);
    EXPECT_EQ(sink.matches[0].name, L"alias.bak");   // a link to a file is a file of its target's size
    EXPECT_EQ(sink.matches[0].size, 4096u);
    EXPECT_EQ(sink.matches[1].name, L"dead.bak");    // a dangling link is a file that has no size
    EXPECT_EQ(sink.matches[1].size, 0u);
    EXPECT_EQ(sink.matches[2].folder, r + L"link/");
    EXPECT_EQ(state.totalBytes, 4096u + 11);
}

// top/a/b holds two links to itself and one to its grandparent top; "away" links to a folder
// outside the walked tree.
TEST_F(RealTreeTest, SymbolicLinkLoopsEndWithEachFileListedOnce) {
    MakeFolder("top");
    MakeFolder("top/a");
    MakeFolder("top/a/b");
    MakeFolder("elsewhere");
    MakeFile("top/t.tmp", 1);
    MakeFile("top/a/a.tmp", 2);
    MakeFile("top/a/b/b.tmp", 3);
    MakeFile("elsewhere/e.tmp", 5);
    ASSERT_EQ(symlink(".", (root_ + "top/a/b/self1").c_str()), 0);
    ASSERT_EQ(symlink((root_ + "top/a/b").c_str(), (root_ + "top/a/b/self2").c_str()), 0);
    ASSERT_EQ(symlink("../..", (root_ + "top/a/b/up").c_str()), 0);
    ASSERT_EQ(symlink("../elsewhere", (root_ + "top/away").c_str()), 0);

    PosixLister posix;
    SortedLister lister(posix);
    RecordingSink sink;
    ScanState state;
    const std::wstring top = Root() + L"top/";
    ScanFolder(top, lister, MaskSet(Masks({L"*.TMP"})), sink, sink, state);

    std::vector<std::wstring> rows;
    for (const Match& m : sink.matches) rows.push_back(m.folder.substr(top.size()) + m.name);
    EXPECT_EQ(rows, (Lines{L"a/a.tmp", L"a/b/b.tmp", L"away/e.tmp", L"t.tmp"}));
    EXPECT_EQ(state.totalBytes, 11u);
    EXPECT_EQ(sink.shown, (Lines{top, top + L"a/", top + L"a/b/", top + L"a/b/self1/", top + L"a/b/self2/",
                                 top + L"a/b/up/", top + L"away/"}));
}

TEST_F(RealTreeTest, SizesBeyondThirtyTwoBitsAreExact) {
    MakeFile("three.bak", 3000000000);
    MakeFile("five.bak", off_t{5} << 30);
    PosixLister posix;
    SortedLister lister(posix);
    RecordingSink sink;
    ScanState state;
    ScanFolder(Root(), lister, MaskSet(Masks({L"*.BAK"})), sink, sink, state);
    ASSERT_EQ(sink.matches.size(), 2u);
    EXPECT_EQ(sink.matches[0].size, std::uint64_t{5} << 30);
    EXPECT_EQ(sink.matches[1].size, 3000000000u);
    EXPECT_EQ(state.totalBytes, 3000000000u + (std::uint64_t{5} << 30));
}

TEST_F(RealTreeTest, EveryNameRoundTrips) {
    MakeFile("r\xC3\xA9sum\xC3\xA9.bak", 1);        // UTF-8
    MakeFile("\xE6\x96\x87\xE6\xA1\xA3.bak", 2);    // UTF-8, two CJK characters
    MakeFile("bad\xFF\xFE.bak", 3);                 // not UTF-8
    MakeFolder("dir\xC3(");                         // a cut-off sequence
    MakeFile("dir\xC3(/in\xED\xA0\x80.bak", 4);     // an encoded surrogate

    PosixLister posix;
    SortedLister lister(posix);
    RecordingSink sink;
    ScanState state;
    const std::wstring r = Root();
    ScanFolder(r, lister, MaskSet(Masks({L"*.BAK"})), sink, sink, state);

    ASSERT_EQ(sink.matches.size(), 4u);
    EXPECT_EQ(state.totalBytes, 10u);  // every file was found and stated by its own name
    std::vector<std::string> paths;
    for (const Match& m : sink.matches) {
        std::string bytes;
        EncodeFileName(m.folder + m.name, bytes);
        struct stat st {};
        EXPECT_EQ(stat(bytes.c_str(), &st), 0) << bytes;
        EXPECT_EQ(static_cast<std::uint64_t>(st.st_size), m.size);
        paths.push_back(bytes.substr(root_.size()));
    }
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{"bad\xFF\xFE.bak", "dir\xC3(/in\xED\xA0\x80.bak",
                                               "r\xC3\xA9sum\xC3\xA9.bak",
                                               "\xE6\x96\x87\xE6\xA1\xA3.bak"}));
    for (const Match& m : sink.matches) {
        if (m.name == L"r\u00E9sum\u00E9.bak") {
            EXPECT_EQ(m.upperName, L"R\u00C9SUM\u00C9.BAK");
        } else if (m.name == L"\u6587\u6863.bak") {
            EXPECT_EQ(m.upperName, L"\u6587\u6863.BAK");
        } else if (m.name[0] == L'b') {
            EXPECT_EQ(m.upperName, L"BAD\xDCFF\xDCFE.BAK");
        }
    }
}

// Builds and removes a chain root/d/d/... of any depth without ever naming a long path.
class DeepChain {
public:
    DeepChain(const std::string& top, int depth) : top_(top) {
        int fd = open(top.c_str(), O_RDONLY | O_DIRECTORY);
        for (int level = 0; level < depth && fd >= 0; ++level) {
            mkdirat(fd, "d", 0755);
            const int child = openat(fd, "d", O_RDONLY | O_DIRECTORY);
            if (level == 999) close(openat(child, "deep.tmp", O_CREAT | O_WRONLY, 0644));
            close(fd);
            fd = child;
        }
        if (fd >= 0) close(fd);
    }
    // Pulls each level up into the top folder before removing the one above it.
    ~DeepChain() {
        const int fd = open(top_.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return;
        for (;;) {
            if (renameat(fd, "d/d", fd, "next") != 0) break;
            const int level = openat(fd, "d", O_RDONLY | O_DIRECTORY);
            unlinkat(level, "deep.tmp", 0);
            close(level);
            unlinkat(fd, "d", AT_REMOVEDIR);
            renameat(fd, "next", fd, "d");
        }
        const int last = openat(fd, "d", O_RDONLY | O_DIRECTORY);
        unlinkat(last, "deep.tmp", 0);
        close(last);
        unlinkat(fd, "d", AT_REMOVEDIR);
        close(fd);
    }

private:
    std::string top_;
};

// Thousands of folders are made and removed: in memory where the system offers it.
class DeepTreeTest : public RealTreeTest {
protected:
    std::filesystem::path Base() const override {
        std::error_code error;
        if (std::filesystem::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0) return "/dev/shm";
        return RealTreeTest::Base();
    }
};

TEST_F(DeepTreeTest, EndsWhereThePathGetsTooLong) {
    // Every open folder holds a descriptor: make room for a couple of thousand.
    rlimit limit {};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < 4200) GTEST_SKIP() << "descriptor limit too low";
    const rlimit saved = limit;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? 4200 : std::max<rlim_t>(limit.rlim_cur, 4200);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);

    constexpr int kDepth = 3000;
    const DeepChain chain(root_, kDepth);
    PosixLister lister;
    CountingSink sink;
    ScanState state;
    ScanFolder(Root(), lister, MaskSet(Masks({L"*.TMP"})), sink, sink, state);
    setrlimit(RLIMIT_NOFILE, &saved);

    // Level k has the path root + k times "d/"; it can be opened while shorter than PATH_MAX.
    const std::size_t openable = (PATH_MAX - 1 - root_.size()) / 2;
    ASSERT_LT(openable, static_cast<std::size_t>(kDepth));
    EXPECT_EQ(sink.folders, openable + 2);  // the root, the openable levels, the first that fails
    EXPECT_EQ(sink.files, 1u);              // deep.tmp at level 1000
}

}  // namespace
