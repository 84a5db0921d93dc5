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
    void AppendMatch(const std::wstring&, std::wstring_view, const MatchFacts&) override {
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
