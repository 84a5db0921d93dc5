#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "DeleteFakes.h"
#include "clean/core/DeleteCommand.h"
#include "scan/core/WindowsNames.h"

using namespace qorvani;
using namespace qorvani::deletetest;

namespace {

struct Row {
    std::wstring name;
    std::wstring path;
    bool checked = false;
    std::uint64_t size = 0;  // kept with the row through a rebuild
};

// Each row's size, told by its name, so that a size can be checked to have stayed with its row.
std::uint64_t SizeOf(const std::wstring& name) {
    std::uint64_t size = 17;
    for (wchar_t c : name) size = size * 31 + static_cast<std::uint64_t>(c);
    return size % 100000;
}

// The result rows (as plain records, turned into the program's row store by Click), the
// window's captions and its pacing.
class FakeList : public DeleteView, public Pacing {
public:
    DeleteAnswer answer = DeleteAnswer::Yes;
    std::vector<Row> rows;
    int questions = 0;
    int rebuilds = 0;
    std::optional<std::wstring> caption;
    std::optional<std::wstring> status;

    void Add(const std::wstring& folder, const std::wstring& name, bool checked) {
        rows.push_back({name, folder + name, checked, SizeOf(name)});
    }

    DeleteAnswer AskDeleteConfirmation() override {
        ++questions;
        return answer;
    }
    bool forGood = false;                 // the answer to the question for volumes without a bin
    std::vector<std::size_t> forGoodAsked;  // the number each time it is asked
    std::size_t callsWhenAsked = 0;
    std::function<std::size_t()> callsSoFar;
    bool AskDeleteForGood(std::size_t files) override {
        forGoodAsked.push_back(files);
        if (callsSoFar) callsWhenAsked = callsSoFar();
        return forGood;
    }
    void RowsKept() override { ++rebuilds; }
    void SetResultCaption(std::wstring_view text) override { caption = std::wstring(text); }
    void SetStatusText(std::wstring_view text) override { status = std::wstring(text); }
    void ShowDeleting(const std::wstring& path) override {
        shown.push_back(path);
        if (onShowDeleting) onShowDeleting(path);
    }

    std::vector<std::wstring> shown;  // every path announced before its shell call
    std::size_t stopAfterSends = static_cast<std::size_t>(-1);  // a stop asked once so many were sent
    bool StopRequested() override { return shown.size() >= stopAfterSends; }
    std::vector<std::pair<std::wstring, KeptReason>> kept;
    void FileKept(const std::wstring& path, KeptReason reason) override { kept.emplace_back(path, reason); }
    std::function<void(const std::wstring&)> onShowDeleting;
    // Each begin and end of the pacing, with the questions asked, the rebuilds and the status before it.
    std::vector<std::wstring> pacing;
    void Begin() override { pacing.push_back(L"begin " + Progress()); }
    void End() override { pacing.push_back(L"end " + Progress()); }
    std::wstring Progress() const {
        return std::to_wstring(questions) + L" " + std::to_wstring(rebuilds) + L" " + status.value_or(L"-");
    }

    std::vector<std::wstring> Paths() const {
        std::vector<std::wstring> paths;
        for (const Row& row : rows) paths.push_back(row.path);
        return paths;
    }
};

const std::wstring kFolder = L"D:\\Work\\";

// The delete over list's rows: they go into a row store (folder and name as listed, size cell,
// check box), and what the store keeps comes back into list.rows.
void Click(FakeList& list, FileShell& shell, wchar_t separator = L'\\') {
    ResultStore store;
    for (const Row& row : list.rows) {
        store.Append(row.path.substr(0, row.path.size() - row.name.size()), row.name, row.size);
        store.SetChecked(store.Count() - 1, row.checked);
    }
    const int rebuilds = list.rebuilds;
    DeleteCommandClick(list, store, shell, list, separator);
    if (list.rebuilds == rebuilds) return;  // nothing rebuilt: the rows stay as they were
    std::vector<Row> kept;
    for (std::size_t i = 0; i < store.Count(); ++i) {
        kept.push_back({store.Name(i), store.ExactPath(i), store.Checked(i), store.Size(i)});
    }
    list.rows = std::move(kept);
}

// Ten files on disk and in the list; rows 1, 4 and 8 checked.
void TenRowsThreeChecked(FakeList& list, FakeShell& shell) {
    for (int i = 0; i < 10; ++i) {
        std::wstring name = L"F" + std::to_wstring(i) + L".BAK";
        list.Add(kFolder, name, i == 1 || i == 4 || i == 8);
        shell.AddFile(kFolder + name);
    }
}

}  // namespace

// The delete's pacing begins before its question and ends after its status, a cancelled one too.
TEST(DeleteCommand, PacingBeginsBeforeTheQuestionAndEndsAfterTheStatus) {
    FakeList cancelled;
    FakeShell shell;
    TenRowsThreeChecked(cancelled, shell);
    cancelled.answer = DeleteAnswer::Cancel;
    Click(cancelled, shell);
    EXPECT_EQ(cancelled.pacing, (std::vector<std::wstring>{L"begin 0 0 -", L"end 1 0 -"}));

    FakeList list;
    TenRowsThreeChecked(list, shell);
    Click(list, shell);
    ASSERT_TRUE(list.status.has_value());
    EXPECT_EQ(list.pacing, (std::vector<std::wstring>{L"begin 0 0 -", L"end 1 1 " + *list.status}));
}

TEST(DeleteCommand, CancelChangesNothing) {
    FakeList list;
    FakeShell shell;
    TenRowsThreeChecked(list, shell);
    const std::vector<Row> before = list.rows;
    list.answer = DeleteAnswer::Cancel;

    Click(list, shell);

    EXPECT_EQ(list.questions, 1);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(shell.inspections, 0);
    EXPECT_EQ(list.rebuilds, 0);
    EXPECT_FALSE(list.caption.has_value());
    EXPECT_FALSE(list.status.has_value());
    ASSERT_EQ(list.rows.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(list.rows[i].path, before[i].path);
        EXPECT_EQ(list.rows[i].checked, before[i].checked);
        EXPECT_EQ(list.rows[i].size, before[i].size);
    }
    EXPECT_EQ(shell.entries.size(), 10u);
}

TEST(DeleteCommand, FlagsFollowTheAnswerAndOneCallPerCheckedRowInOrder) {
    for (DeleteAnswer answer : {DeleteAnswer::Yes, DeleteAnswer::No}) {
        FakeList list;
        FakeShell shell;
        TenRowsThreeChecked(list, shell);
        list.answer = answer;

        Click(list, shell);

        const std::uint16_t expected = answer == DeleteAnswer::Yes ? 0x2494 : 0x64D4;
        ASSERT_EQ(shell.calls.size(), 3u);
        for (const auto& call : shell.calls) EXPECT_EQ(call.second, expected);
        EXPECT_EQ(shell.CalledPaths(), (std::vector<std::wstring>{
                                           kFolder + L"F1.BAK", kFolder + L"F4.BAK",
                                           kFolder + L"F8.BAK"}));

        // The seven others stay in their order, unchecked, with their sizes.
        EXPECT_EQ(list.Paths(), (std::vector<std::wstring>{
                                    kFolder + L"F0.BAK", kFolder + L"F2.BAK", kFolder + L"F3.BAK",
                                    kFolder + L"F5.BAK", kFolder + L"F6.BAK", kFolder + L"F7.BAK",
                                    kFolder + L"F9.BAK"}));
        for (const Row& row : list.rows) {
            EXPECT_FALSE(row.checked);
            EXPECT_EQ(row.size, SizeOf(row.name));
        }
        EXPECT_EQ(list.caption, L"扫描结果： 剩余的文件共有： 7个");
        EXPECT_EQ(list.status, L"删除文件 3个 ");
        EXPECT_EQ(shell.entries.size(), 7u);
    }
}

TEST(DeleteCommand, EmptyListStillAsksAndReportsZero) {
    for (DeleteAnswer answer : {DeleteAnswer::Yes, DeleteAnswer::No}) {
        FakeList list;
        FakeShell shell;
        list.answer = answer;

        Click(list, shell);

        EXPECT_EQ(list.questions, 1);
        EXPECT_TRUE(shell.calls.empty());
        EXPECT_TRUE(list.rows.empty());
        EXPECT_EQ(list.caption, L"扫描结果： 剩余的文件共有： 0个");
        EXPECT_EQ(list.status, L"删除文件 0个 ");
    }
}

TEST(DeleteCommand, NothingCheckedKeepsEveryRowButDropsSizes) {
    FakeList list;
    FakeShell shell;
    for (const wchar_t* name : {L"A.TMP", L"B.TMP", L"C.TMP"}) {
        list.Add(kFolder, name, false);
        shell.AddFile(kFolder + name);
    }

    Click(list, shell);

    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(list.rebuilds, 1);
    EXPECT_EQ(list.Paths(), (std::vector<std::wstring>{kFolder + L"A.TMP", kFolder + L"B.TMP",
                                                       kFolder + L"C.TMP"}));
    for (const Row& row : list.rows) EXPECT_EQ(row.size, SizeOf(row.name));
    EXPECT_EQ(list.caption, L"扫描结果： 剩余的文件共有： 3个");
    EXPECT_EQ(list.status, L"删除文件 0个 ");
}

TEST(DeleteCommand, AllCheckedEmptiesTheList) {
    FakeList list;
    FakeShell shell;
    for (const wchar_t* name : {L"A.TMP", L"B.OLD", L"C.DMP", L"D.CHK"}) {
        list.Add(kFolder, name, true);
        shell.AddFile(kFolder + name);
    }
    list.answer = DeleteAnswer::No;

    Click(list, shell);

    EXPECT_EQ(shell.calls.size(), 4u);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_TRUE(shell.entries.empty());
    EXPECT_EQ(list.caption, L"扫描结果： 剩余的文件共有： 0个");
    EXPECT_EQ(list.status, L"删除文件 4个 ");
}

TEST(DeleteCommand, FilesStillThereStayCheckedAndAreCountedAsFailed) {
    FakeList list;
    FakeShell shell;
    for (const wchar_t* name : {L"A.TMP", L"LOCKED.TMP", L"B.TMP", L"C.TMP", L"GONE.TMP"}) {
        list.Add(kFolder, name, true);
        shell.AddFile(kFolder + name);
    }
    list.rows[3].checked = false;
    shell.failing.insert(kFolder + L"LOCKED.TMP");

    Click(list, shell);

    // The locked file was tried once; the row stays in its place, still checked.
    EXPECT_EQ(shell.CalledPaths(), (std::vector<std::wstring>{kFolder + L"A.TMP",
                                                              kFolder + L"LOCKED.TMP",
                                                              kFolder + L"B.TMP",
                                                              kFolder + L"GONE.TMP"}));
    ASSERT_EQ(list.Paths(),
              (std::vector<std::wstring>{kFolder + L"LOCKED.TMP", kFolder + L"C.TMP"}));
    EXPECT_TRUE(list.rows[0].checked);
    EXPECT_FALSE(list.rows[1].checked);
    EXPECT_EQ(list.rows[0].size, SizeOf(L"LOCKED.TMP"));
    EXPECT_EQ(list.caption, L"扫描结果： 剩余的文件共有： 2个");
    EXPECT_EQ(list.status, L"删除文件 3个 未能删除 1个");
}

TEST(DeleteCommand, TheShellsAnswerIsNotTrustedOnlyWhatIsLeft) {
    // A shell that reports success but leaves the file, and one that reports failure but
    // removes it (the Recycle Bin took it, then complained).
    class OddShell : public FakeShell {
    public:
        int DeleteOneFile(const std::wstring& path, std::uint16_t flags) override {
            calls.emplace_back(path, flags);
            if (path == kFolder + L"STAYS.TMP") return 0;
            entries.erase(path);
            return 1026;
        }
    };
    FakeList list;
    OddShell shell;
    for (const wchar_t* name : {L"STAYS.TMP", L"GOES.TMP"}) {
        list.Add(kFolder, name, true);
        shell.AddFile(kFolder + name);
    }

    Click(list, shell);

    EXPECT_EQ(list.Paths(), (std::vector<std::wstring>{kFolder + L"STAYS.TMP"}));
    EXPECT_EQ(list.status, L"删除文件 1个 未能删除 1个");
}

TEST(DeleteCommand, NamesTheShellWouldMisreadAreNeverSent) {
    FakeList list;
    FakeShell shell;
    // Neighbours that a misread name would hit.
    for (const wchar_t* path : {L"D:\\Work\\axb.tmp", L"D:\\Work\\a?b.tmp", L"D:\\Work\\x\\y.tmp",
                                L"D:\\Work\\col:on.tmp", L"D:\\Work\\dot.", L"D:\\Work\\dot",
                                L"D:\\Work\\space ", L"D:\\Work\\space", L"D:\\Work\\ok.tmp"})
        shell.AddFile(path);
    list.Add(kFolder, L"a?b.tmp", true);
    list.Add(kFolder, L"x\\y.tmp", true);   // a name that holds the separator
    list.Add(kFolder, L"col:on.tmp", true);
    list.Add(kFolder, L"dot.", true);
    list.Add(kFolder, L"space ", true);
    list.Add(kFolder, L"ok.tmp", true);

    Click(list, shell);

    EXPECT_EQ(shell.CalledPaths(), (std::vector<std::wstring>{L"D:\\Work\\ok.tmp"}));
    for (const wchar_t* path : {L"D:\\Work\\axb.tmp", L"D:\\Work\\a?b.tmp", L"D:\\Work\\x\\y.tmp",
                                L"D:\\Work\\col:on.tmp", L"D:\\Work\\dot.", L"D:\\Work\\dot",
                                L"D:\\Work\\space ", L"D:\\Work\\space"})
        EXPECT_EQ(shell.entries.count(path), 1u) << std::wstring(path);
    ASSERT_EQ(list.rows.size(), 5u);
    for (const Row& row : list.rows) EXPECT_TRUE(row.checked);
    EXPECT_EQ(list.rows[1].name, L"x\\y.tmp");
    EXPECT_EQ(list.caption, L"扫描结果： 剩余的文件共有： 5个");
    EXPECT_EQ(list.status, L"删除文件 1个 未能删除 5个");
}

TEST(DeleteCommand, NameSafeForShellJudgesNameAndFolderApart) {
    // Junk names of the catalogue are ordinary names.
    for (const wchar_t* name : {L"~WRL0001.TMP", L"A.~1", L"D.AB$", L"X.$$$", L"Y.@@@", L"Z.---",
                                L"C.#Res", L"my file.bak", L"备份.bak", L"[1].tmp", L"0123.nch"})
        EXPECT_TRUE(NameSafeForShell(std::wstring(L"C:\\Temp\\") + name, name))
            << std::wstring(name);
    EXPECT_TRUE(NameSafeForShell(L"\\\\server\\share\\a.tmp", L"a.tmp"));

    // Forbidden name characters, trailing space or dot.
    for (const wchar_t* name : {L"a*b.tmp", L"a?b.tmp", L"a\"b", L"a<b", L"a>b", L"a|b",
                                L"a:b", L"a/b", L"a\\b", L"a\tb", L"a\x1f", L"x.", L"x ", L"..."})
        EXPECT_FALSE(NameSafeForShell(std::wstring(L"C:\\Temp\\") + name, name))
            << std::wstring(name);
    EXPECT_FALSE(NameSafeForShell(L"C:\\Temp\\", L""));

    // The path must be the folder, ending in the separator, then the name.
    EXPECT_FALSE(NameSafeForShell(L"C:\\Temp\\b.tmp", L"a.tmp"));
    EXPECT_FALSE(NameSafeForShell(L"C:\\Tempa.tmp", L"a.tmp"));
    EXPECT_FALSE(NameSafeForShell(L"a.tmp", L"a.tmp"));

    // Wildcards and folder names that Windows would strip, anywhere in the folder.
    EXPECT_FALSE(NameSafeForShell(L"C:\\Te*p\\a.tmp", L"a.tmp"));
    EXPECT_FALSE(NameSafeForShell(L"C:\\Te?p\\a.tmp", L"a.tmp"));
    EXPECT_FALSE(NameSafeForShell(L"C:\\T|p\\a.tmp", L"a.tmp"));
    EXPECT_FALSE(NameSafeForShell(L"\\\\?\\C:\\a.tmp", L"a.tmp"));
    EXPECT_FALSE(NameSafeForShell(L"C:\\old.\\a.tmp", L"a.tmp"));
    EXPECT_FALSE(NameSafeForShell(L"C:\\old \\a.tmp", L"a.tmp"));
    EXPECT_TRUE(NameSafeForShell(L"C:\\OLD.BAK\\a.tmp", L"a.tmp"));

    // With '/' as the separator a backslash is still no name character, but is not a
    // separator either.
    EXPECT_TRUE(NameSafeForShell(L"/home/u/a.tmp", L"a.tmp", L'/'));
    EXPECT_FALSE(NameSafeForShell(L"/home/u/a\\b.tmp", L"a\\b.tmp", L'/'));
    EXPECT_FALSE(NameSafeForShell(L"/home/u/a.tmp", L"a.tmp", L'\\'));
}

TEST(DeleteCommand, OnlyPlainFilesAreSentAndMissingOnesLeaveTheList) {
    FakeList list;
    FakeShell shell;
    list.Add(kFolder, L"NOW.TMP", true);       // replaced by a folder since the scan
    list.Add(kFolder, L"GONE.TMP", true);      // removed by other means since the scan
    list.Add(kFolder, L"PLAIN.TMP", true);
    list.Add(kFolder, L"GONE2.TMP", false);    // unchecked rows stay whatever the disk says
    shell.entries[kFolder + L"NOW.TMP"] = PathKind::Folder;
    shell.AddFile(kFolder + L"PLAIN.TMP");

    Click(list, shell);

    EXPECT_EQ(shell.CalledPaths(), (std::vector<std::wstring>{kFolder + L"PLAIN.TMP"}));
    EXPECT_EQ(shell.entries.count(kFolder + L"NOW.TMP"), 1u);
    EXPECT_EQ(list.Paths(),
              (std::vector<std::wstring>{kFolder + L"NOW.TMP", kFolder + L"GONE2.TMP"}));
    EXPECT_TRUE(list.rows[0].checked);
    EXPECT_EQ(list.caption, L"扫描结果： 剩余的文件共有： 2个");
    EXPECT_EQ(list.status, L"删除文件 2个 未能删除 1个");
}

TEST(DeleteCommand, TheShellGetsTheExactPath) {
    // The list shows upper-cased names; a case-sensitive file system holds both spellings.
    FakeList list;
    FakeShell shell;
    list.rows.push_back({L"Notes.Bak", L"/srv/Notes.Bak", true, 1024});
    list.rows.push_back({L"Notes.Bak", L"/srv/Notes.Bak", true, 1024});  // listed twice
    shell.AddFile(L"/srv/Notes.Bak");
    shell.AddFile(L"/srv/NOTES.BAK");

    Click(list, shell, L'/');

    // The second row's file was gone by its turn: not sent again, counted as deleted.
    EXPECT_EQ(shell.CalledPaths(), (std::vector<std::wstring>{L"/srv/Notes.Bak"}));
    EXPECT_EQ(shell.entries.count(L"/srv/NOTES.BAK"), 1u);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_EQ(list.status, L"删除文件 2个 ");
}

TEST(DeleteCommand, FlagsPerAnswer) {
    // "是": 0x0094 plus no error box of the shell's own (0x0400) and no connected elements
    // (0x2000: "~page.htm" must not take the "~page_files" folder with it). "否": 0x00D4 plus the
    // same two and the nuke warning (0x4000), so that the shell asks before destroying what it
    // cannot recycle.
    EXPECT_EQ(DeleteFlags(DeleteAnswer::Yes), 0x2494);
    EXPECT_EQ(DeleteFlags(DeleteAnswer::No), 0x64D4);
    for (DeleteAnswer answer : {DeleteAnswer::Yes, DeleteAnswer::No}) {
        EXPECT_NE(DeleteFlags(answer) & kFofNoConnectedElements, 0);
        EXPECT_NE(DeleteFlags(answer) & kFofFilesOnly, 0);
    }
    EXPECT_EQ(DeleteFlags(DeleteAnswer::Yes) & kFofAllowUndo, 0);
    EXPECT_NE(DeleteFlags(DeleteAnswer::No) & kFofAllowUndo, 0);
}

// Every look-up and shell call takes 100 ms here (a slow network volume). Whatever the mix of
// rows, the command reaches the pacer at least every 250 ms, from the question to the counts.
TEST(DeleteCommand, NoStretchOfTheCommandGoesUnpaced) {
    struct SlowShell : FakeShell {
        int now = 0;
        PathKind Inspect(const std::wstring& path) override {
            now += 100;
            return FakeShell::Inspect(path);
        }
        PathKind InspectAfterCalls(const std::wstring& path) override {
            now += 100;
            return FakeShell::Inspect(path);
        }
        int DeleteOneFile(const std::wstring& path, std::uint16_t flags) override {
            now += 100;
            return FakeShell::DeleteOneFile(path, flags);
        }
    };
    struct PacedList : FakeList {
        const int* now = nullptr;
        std::vector<int> paced;
        void AtWork() override { paced.push_back(*now); }
        void SetStatusText(std::wstring_view text) override {
            FakeList::SetStatusText(text);
            paced.push_back(*now);  // the end
        }
    };
    SlowShell shell;
    PacedList list;
    list.now = &shell.now;
    list.onShowDeleting = [&](const std::wstring&) { list.paced.push_back(shell.now); };
    // Long runs of each kind of row that is not sent, then a few that are.
    for (int i = 0; i < 40; ++i) {
        const std::wstring name = L"R" + std::to_wstring(i) + L".TMP";
        list.Add(kFolder, name, i % 8 != 7);
        if (i < 10) continue;                                                 // already gone
        if (i < 20) shell.entries[kFolder + name] = PathKind::Folder;         // now a folder
        else if (i < 30) shell.entries[kFolder + name] = PathKind::Unknown;   // cannot tell
        else shell.AddFile(kFolder + name);                                   // sent
    }
    for (int i = 0; i < 10; ++i) list.Add(kFolder, L"BAD" + std::to_wstring(i) + L"?.TMP", true);  // refused

    Click(list, shell);

    ASSERT_FALSE(list.paced.empty());
    int last = 0, longest = 0;
    for (int at : list.paced) {
        longest = std::max(longest, at - last);
        last = at;
    }
    EXPECT_GT(shell.now, 5000);  // long enough to be judged hung without pacing
    EXPECT_LE(longest, 250) << "of a command of " << shell.now << " ms";
    EXPECT_EQ(list.paced.back(), shell.now);
}

TEST(DeleteCommand, PathsTheShellCannotTakeAreNotSent) {
    // The walk's limit is on the folder's pattern, so folder plus name can pass MAX_PATH.
    const std::wstring deep = L"D:\\" + std::wstring(300, L'd') + L"\\";
    const std::wstring unc = L"\\\\server\\share\\" + std::wstring(300, L'u') + L"\\";
    const std::wstring fits = L"D:\\" + std::wstring(250, L'f') + L"\\";  // folder + "A.TMP": 259
    FakeList list;
    FakeShell shell;
    list.Add(deep, L"LONG.TMP", true);
    list.Add(unc, L"REMOTE.TMP", true);
    list.Add(deep, L"GONE.TMP", true);      // removed by other means: a real look says so
    list.Add(fits, L"A.TMP", true);
    list.Add(fits, L"AB.TMP", true);        // 260 characters
    list.Add(kFolder, L"DIR.TMP", true);    // became a folder
    list.Add(kFolder, L"NET.TMP", true);    // the look-up could not tell
    for (const std::wstring& path : {deep + L"LONG.TMP", unc + L"REMOTE.TMP", fits + L"A.TMP", fits + L"AB.TMP"})
        shell.AddFile(path);
    shell.entries[kFolder + L"DIR.TMP"] = PathKind::Folder;
    shell.entries[kFolder + L"NET.TMP"] = PathKind::Unknown;
    ASSERT_EQ((fits + L"A.TMP").size(), 259u);

    Click(list, shell);

    EXPECT_EQ(shell.CalledPaths(), (std::vector<std::wstring>{fits + L"A.TMP"}));
    EXPECT_EQ(list.Paths(), (std::vector<std::wstring>{deep + L"LONG.TMP", unc + L"REMOTE.TMP", fits + L"AB.TMP",
                                                       kFolder + L"DIR.TMP", kFolder + L"NET.TMP"}));
    for (const Row& row : list.rows) EXPECT_TRUE(row.checked);
    EXPECT_EQ(list.status, L"删除文件 2个 未能删除 5个");
}

TEST(DeleteCommand, OnlyTheSystemsNotFoundCountsAsGone) {
    // After the call the look-up cannot tell (the share went away): the row stays.
    class Unreachable : public FakeShell {
    public:
        int DeleteOneFile(const std::wstring& path, std::uint16_t flags) override {
            const int result = FakeShell::DeleteOneFile(path, flags);
            if (path == kFolder + L"LOST.TMP") entries[path] = PathKind::Unknown;
            return result;
        }
    };
    FakeList list;
    Unreachable shell;
    for (const wchar_t* name : {L"LOST.TMP", L"OK.TMP"}) {
        list.Add(kFolder, name, true);
        shell.AddFile(kFolder + name);
    }
    Click(list, shell);
    EXPECT_EQ(list.Paths(), (std::vector<std::wstring>{kFolder + L"LOST.TMP"}));
    EXPECT_EQ(list.status, L"删除文件 1个 未能删除 1个");

    // What a failed look-up means, by the system's error code.
    EXPECT_EQ(KindOfFailedLookup(2), PathKind::Missing);
    for (std::uint32_t error : {3u, 5u, 15u, 21u, 32u, 53u, 67u, 123u, 1231u})
        EXPECT_EQ(KindOfFailedLookup(error), PathKind::Unknown) << error;
}

TEST(DeleteCommand, LookupsOfLongPathsUseTheLongForm) {
    const std::wstring folder(300, L'x');
    EXPECT_EQ(LookupForm(L"C:\\Temp\\A.TMP"), L"C:\\Temp\\A.TMP");
    EXPECT_EQ(LookupForm(L"\\\\srv\\share\\A.TMP"), L"\\\\srv\\share\\A.TMP");
    EXPECT_EQ(LookupForm(L"C:\\" + folder + L"\\A.TMP"), L"\\\\?\\C:\\" + folder + L"\\A.TMP");
    EXPECT_EQ(LookupForm(L"\\\\srv\\share\\" + folder + L"\\A.TMP"),
              L"\\\\?\\UNC\\srv\\share\\" + folder + L"\\A.TMP");
    // Already long, a device path, or not a full path: as it is.
    for (const std::wstring& path : {L"\\\\?\\C:\\" + folder + L"\\A.TMP", L"\\\\.\\C:\\" + folder + L"\\A.TMP",
                                     folder + L"\\A.TMP" + folder})
        EXPECT_EQ(LookupForm(path), path);
}

// The window is told each path right before its shell call (to show it and stay responsive),
// only for paths really sent, and the final texts are the command's own.
TEST(DeleteCommand, EachPathIsAnnouncedRightBeforeItsShellCall) {
    FakeList list;
    FakeShell shell;
    TenRowsThreeChecked(list, shell);
    list.rows[4].checked = false;
    list.Add(kFolder, L"GONE.BAK", true);           // checked, but already gone: not sent
    list.Add(kFolder, L"BAD?.BAK", true);           // a name the shell would misread: not sent
    std::vector<std::size_t> callsWhenShown;
    list.onShowDeleting = [&](const std::wstring&) { callsWhenShown.push_back(shell.calls.size()); };

    Click(list, shell);

    EXPECT_EQ(list.shown, (std::vector<std::wstring>{kFolder + L"F1.BAK", kFolder + L"F8.BAK"}));
    EXPECT_EQ(list.shown, shell.CalledPaths());
    EXPECT_EQ(callsWhenShown, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(list.status, L"删除文件 3个 未能删除 1个");
    EXPECT_EQ(list.caption, L"扫描结果： 剩余的文件共有： 9个");
}

TEST(DeleteCommand, FilesWithoutARecycleBinAreAskedForOnceBeforeAnyIsSent) {
    const std::wstring stick = L"E:\\Photos\\";
    for (const bool yes : {false, true}) {
        FakeList list;
        FakeShell shell;
        shell.withoutBin = {L"E:\\"};
        list.answer = DeleteAnswer::No;
        list.forGood = yes;
        list.callsSoFar = [&shell] { return shell.calls.size(); };
        for (int i = 0; i < 30; ++i) {
            const std::wstring name = L"P" + std::to_wstring(i) + L".TMP";
            list.Add(stick, name, true);
            shell.AddFile(stick + name);
        }
        list.Add(kFolder, L"BIN.TMP", true);
        shell.AddFile(kFolder + L"BIN.TMP");
        list.Add(stick, L"KEPT.TMP", false);
        shell.AddFile(stick + L"KEPT.TMP");
        Click(list, shell);

        // One question, naming all 30, asked before the first call.
        EXPECT_EQ(list.forGoodAsked, (std::vector<std::size_t>{30}));
        EXPECT_EQ(list.callsWhenAsked, 0u);
        ASSERT_EQ(shell.calls.size(), yes ? 31u : 1u);
        for (const auto& [path, flags] : shell.calls)
            EXPECT_EQ(flags, path == kFolder + L"BIN.TMP" ? kDeleteToRecycleBinFlags : kDeleteForGoodFlags) << path.c_str();
        if (yes) {
            EXPECT_EQ(list.Paths(), (std::vector<std::wstring>{stick + L"KEPT.TMP"}));
            EXPECT_EQ(list.status, L"删除文件 31个 ");
        } else {
            // A no keeps them all, listed and on disk; the file on a volume with a bin still goes.
            EXPECT_EQ(list.rows.size(), 31u);
            EXPECT_EQ(list.status, L"删除文件 1个 未能删除 30个");
        }
    }
    // "是" asks nothing more, and a volume with a bin asks nothing either.
    FakeList list;
    FakeShell shell;
    shell.withoutBin = {L"E:\\"};
    list.Add(L"E:\\", L"A.TMP", true);
    shell.AddFile(L"E:\\A.TMP");
    Click(list, shell);
    EXPECT_TRUE(list.forGoodAsked.empty());
    EXPECT_EQ(shell.calls.size(), 1u);
    EXPECT_NE(ForGoodQuestion(30).find(L"有 30个"), std::wstring::npos);
}

TEST(DeleteCommand, WhichVolumesTakeRecycling) {
    // The bin's own answer decides for fixed and network drives (Wine's bin takes a network
    // drive's files); a removable drive, a CD or a RAM disk never has one.
    for (const unsigned type : {kDriveFixed, kDriveRemote}) {
        EXPECT_TRUE(VolumeTakesRecycling(type, true)) << type;
        EXPECT_FALSE(VolumeTakesRecycling(type, false)) << type;
    }
    for (const unsigned type : {0u, 1u, kDriveRemovable, 5u, 6u}) {
        EXPECT_FALSE(VolumeTakesRecycling(type, true)) << type;
        EXPECT_FALSE(VolumeTakesRecycling(type, false)) << type;
    }
}

TEST(DeleteCommand, ACaseTwinIsNeverHandedToTheShell) {
    // A.tmp and a.tmp in one case-sensitive folder: the shell might take the one not checked.
    for (const bool bothChecked : {false, true}) {
        FakeList list;
        FakeShell shell;
        list.Add(kFolder, L"A.tmp", true);
        list.Add(kFolder, L"OTHER.TMP", true);
        list.Add(kFolder, L"a.tmp", bothChecked);
        list.Add(L"D:\\Else\\", L"a.tmp", true);  // the same name in another folder is no twin
        for (const Row& row : list.rows) shell.AddFile(row.path);
        Click(list, shell);
        EXPECT_EQ(shell.CalledPaths(), (std::vector<std::wstring>{kFolder + L"OTHER.TMP", L"D:\\Else\\a.tmp"}));
        EXPECT_EQ(list.Paths(), (std::vector<std::wstring>{kFolder + L"A.tmp", kFolder + L"a.tmp"}));
        EXPECT_EQ(list.status, bothChecked ? L"删除文件 2个 未能删除 2个" : L"删除文件 2个 未能删除 1个");
    }
}

TEST(DeleteCommand, WhyTheBinRefusesAFile) {
    constexpr std::uint64_t mb = kBinCapacityUnit;
    const BinFacts open{};
    const BinFacts small = Bin(true, false, false, 10 * mb);
    EXPECT_EQ(WhyBinRefuses(open, 50'000 * mb), BinRefusal::None);                  // no maximum known
    EXPECT_EQ(WhyBinRefuses(small, 10 * mb), BinRefusal::None);                     // fits exactly
    EXPECT_EQ(WhyBinRefuses(small, 10 * mb + 1), BinRefusal::TooLarge);
    EXPECT_EQ(WhyBinRefuses(small, std::nullopt), BinRefusal::None);                // size unknown
    EXPECT_EQ(WhyBinRefuses(Bin(false, false, false, std::nullopt), 1), BinRefusal::NoBin);
    EXPECT_EQ(WhyBinRefuses(Bin(true, true, false, std::nullopt), 1), BinRefusal::TurnedOff);
    EXPECT_EQ(WhyBinRefuses(Bin(true, false, true, std::nullopt), 1), BinRefusal::Policy);
    // Each reason alone is enough, whatever the size.
    EXPECT_EQ(WhyBinRefuses(Bin(true, true, false, 10 * mb), 0), BinRefusal::TurnedOff);
    EXPECT_EQ(WhyBinRefuses(Bin(false, false, false, 10 * mb), std::nullopt), BinRefusal::NoBin);
    EXPECT_EQ(WhyBinRefuses(Bin(true, false, false, 0), 1), BinRefusal::TooLarge);
    EXPECT_EQ(WhyBinRefuses(Bin(true, false, false, 0), 0), BinRefusal::None);
}

// Rows on volumes whose bins refuse them for each reason, beside rows that the bins take.
TEST(DeleteCommand, EveryFileTheBinWillNotTakeIsInTheOneQuestionAndANoKeepsThemAll) {
    constexpr std::uint64_t mb = kBinCapacityUnit;
    for (const bool yes : {false, true}) {
        FakeList list;
        FakeShell shell;
        shell.withoutBin = {L"E:\\"};
        shell.bins[L"F:\\"] = Bin(true, true, false, std::nullopt);
        shell.bins[L"G:\\"] = Bin(true, false, true, std::nullopt);
        shell.bins[L"H:\\"] = Bin(true, false, false, 100 * mb);
        list.answer = DeleteAnswer::No;
        list.forGood = yes;
        list.callsSoFar = [&shell] { return shell.calls.size(); };
        const auto add = [&](const std::wstring& folder, const std::wstring& name, std::uint64_t size) {
            list.rows.push_back({name, folder + name, true, size});
            shell.AddFile(folder + name);
        };
        add(L"E:\\", L"NOBIN.TMP", 1);
        add(L"F:\\", L"OFF.TMP", 1);
        add(L"G:\\", L"POLICY.TMP", 1);
        add(L"H:\\", L"HUGE.TMP", 100 * mb + 1);
        add(L"H:\\", L"FITS.TMP", 100 * mb);
        add(L"D:\\", L"BIG.TMP", 900 * mb);  // a bin of no known maximum
        Click(list, shell);

        EXPECT_EQ(list.forGoodAsked, (std::vector<std::size_t>{4}));
        EXPECT_EQ(list.callsWhenAsked, 0u);
        std::map<std::wstring, std::uint16_t> sent(shell.calls.begin(), shell.calls.end());
        EXPECT_EQ(sent[L"H:\\FITS.TMP"], kDeleteToRecycleBinFlags);
        EXPECT_EQ(sent[L"D:\\BIG.TMP"], kDeleteToRecycleBinFlags);
        if (yes) {
            ASSERT_EQ(sent.size(), 6u);
            for (const wchar_t* path : {L"E:\\NOBIN.TMP", L"F:\\OFF.TMP", L"G:\\POLICY.TMP", L"H:\\HUGE.TMP"})
                EXPECT_EQ(sent[path], kDeleteForGoodFlags) << std::wstring(path);
            EXPECT_TRUE(list.rows.empty());
            EXPECT_EQ(list.status, L"删除文件 6个 ");  // the user said yes to destroying those four
        } else {
            EXPECT_EQ(sent.size(), 2u);
            EXPECT_EQ(list.Paths(), (std::vector<std::wstring>{L"E:\\NOBIN.TMP", L"F:\\OFF.TMP", L"G:\\POLICY.TMP",
                                                               L"H:\\HUGE.TMP"}));
            for (const Row& row : list.rows) EXPECT_TRUE(row.checked);
            EXPECT_EQ(list.status, L"删除文件 2个 未能删除 4个");
        }
    }
    // The question's words fit every reason.
    const std::wstring question = ForGoodQuestion(4);
    EXPECT_NE(question.find(L"有 4个选定文件不能放入回收站"), std::wstring::npos);
    for (const wchar_t* reason : {L"没有回收站", L"回收站已关闭", L"文件大于回收站"})
        EXPECT_NE(question.find(reason), std::wstring::npos) << std::wstring(reason);
}

TEST(DeleteCommand, AFileDestroyedThoughSentToTheBinIsReportedApart) {
    FakeList list;
    FakeShell shell;
    for (const wchar_t* name : {L"A.TMP", L"B.TMP", L"C.TMP", L"D.TMP", L"LOCKED.TMP"}) {
        list.Add(kFolder, name, true);
        shell.AddFile(kFolder + name);
    }
    shell.destroyedBySend = {kFolder + L"B.TMP", kFolder + L"D.TMP"};
    shell.failing = {kFolder + L"LOCKED.TMP"};
    list.answer = DeleteAnswer::No;
    Click(list, shell);
    EXPECT_EQ(list.status, L"删除文件 4个 其中直接删除 2个 未能删除 1个");

    // All recycled as chosen: the status as ever.
    FakeList recycled;
    FakeShell bin;
    TenRowsThreeChecked(recycled, bin);
    recycled.answer = DeleteAnswer::No;
    Click(recycled, bin);
    EXPECT_EQ(recycled.status, L"删除文件 3个 ");

    // Files the user chose to destroy (the answer "是", or yes to the question) are no news.
    for (const bool askedFor : {false, true}) {
        FakeList list2;
        FakeShell shell2;
        list2.Add(kFolder, L"A.TMP", true);
        shell2.AddFile(kFolder + L"A.TMP");
        shell2.destroyedBySend = {kFolder + L"A.TMP"};
        shell2.lastFate = SentFate::Destroyed;
        if (askedFor) {
            shell2.withoutBin = {kFolder};
            list2.answer = DeleteAnswer::No;
            list2.forGood = true;
        }
        Click(list2, shell2);
        EXPECT_EQ(list2.status, L"删除文件 1个 ") << askedFor;
    }
}

TEST(DeleteCommand, DeviceNamesAreNeverHandedToTheShell) {
    for (const wchar_t* name : {L"CON", L"prn", L"Aux", L"NUL", L"NUL.tmp", L"aux.bak", L"COM1.tmp", L"CON.old",
                                L"com0.TMP", L"LPT9.chk", L"lpt0", L"nul.tar.gz", L"NUL .tmp", L"Con  .bak",
                                L"NUL..tmp", L"COM\u00B9.tmp", L"lpt\u00B2.bak", L"COM\u00B3"})
        EXPECT_TRUE(ReservedDeviceName(name)) << std::wstring(name);
    for (const wchar_t* name : {L"CONX.tmp", L"NULL.tmp", L"COM10.tmp", L"LPT.tmp", L"COM.tmp", L"xNUL.tmp",
                                L" NUL.tmp", L"AUX_1.bak", L"com1a.tmp", L"COM\u2074.tmp", L"CONIN.tmp",
                                L"my nul.tmp", L".NUL", L"NUL x.tmp", L"COM\uFF11.tmp", L""})
        EXPECT_FALSE(ReservedDeviceName(name)) << std::wstring(name);

    // The command keeps such a row, counted as not deleted, like a name with a wildcard.
    FakeList list;
    FakeShell shell;
    for (const wchar_t* name : {L"NUL.tmp", L"aux.bak", L"COM1.tmp", L"CON.old", L"LPT\u00B9.tmp", L"ok.tmp"}) {
        list.Add(kFolder, name, true);
        shell.AddFile(kFolder + name);
        EXPECT_EQ(NameSafeForShell(kFolder + name, name), std::wstring(name) == L"ok.tmp") << std::wstring(name);
    }
    list.answer = DeleteAnswer::No;
    Click(list, shell);
    EXPECT_EQ(shell.CalledPaths(), (std::vector<std::wstring>{kFolder + L"ok.tmp"}));
    EXPECT_EQ(list.rows.size(), 5u);
    EXPECT_TRUE(list.forGoodAsked.empty());
    EXPECT_EQ(list.status, L"删除文件 1个 未能删除 5个");
}

TEST(DeleteCommand, VolumeRootsAndGuidsAsTheBinsKeysNeedThem) {
    EXPECT_EQ(PlainVolumeRoot(L"\\\\?\\C:\\"), L"C:\\");
    EXPECT_EQ(PlainVolumeRoot(L"\\\\?\\d:\\mnt\\disk\\"), L"d:\\mnt\\disk\\");
    EXPECT_EQ(PlainVolumeRoot(L"\\\\?\\UNC\\server\\share\\"), L"\\\\server\\share\\");
    EXPECT_EQ(PlainVolumeRoot(L"C:\\"), L"C:\\");
    EXPECT_EQ(PlainVolumeRoot(L"Z:"), L"Z:\\");
    EXPECT_EQ(PlainVolumeRoot(L"\\\\?\\Volume{1b3c5d7e-0000-1111-2222-333344445555}\\"),
              L"\\\\?\\Volume{1b3c5d7e-0000-1111-2222-333344445555}\\");

    EXPECT_EQ(VolumeGuidOf(L"\\\\?\\Volume{1b3c5d7e-0000-1111-2222-333344445555}\\"),
              L"{1b3c5d7e-0000-1111-2222-333344445555}");
    EXPECT_EQ(VolumeGuidOf(L"\\\\?\\Volume{abc}"), L"{abc}");
    for (const wchar_t* name : {L"", L"C:\\", L"\\\\?\\Volume{abc", L"\\\\?\\Volume{abc}\\x", L"\\\\?\\Volum{abc}\\"})
        EXPECT_EQ(VolumeGuidOf(name), L"") << std::wstring(name);
}

TEST(DeleteCommand, EachKeptFileIsToldWithWhyAndAStopKeepsTheFilesNotYetSent) {
    FakeList list;
    FakeShell shell;
    const std::wstring longName = std::wstring(250, L'x') + L".tmp";
    for (const wchar_t* name : {L"ok.tmp", L"NUL.tmp", L"locked.tmp", L"denied.tmp", L"dir.tmp", L"lost.tmp"})
        list.Add(kFolder, name, true);
    list.Add(kFolder, longName, true);
    list.rows.push_back({L"nobin.tmp", L"E:\\nobin.tmp", true, 1});
    for (const wchar_t* name : {L"ok.tmp", L"NUL.tmp", L"locked.tmp", L"denied.tmp"}) shell.AddFile(kFolder + name);
    shell.AddFile(kFolder + longName);
    shell.AddFile(L"E:\\nobin.tmp");
    shell.entries[kFolder + L"dir.tmp"] = PathKind::Folder;
    shell.entries[kFolder + L"lost.tmp"] = PathKind::Unknown;
    shell.failing = {kFolder + L"locked.tmp"};
    shell.denied = {kFolder + L"denied.tmp"};
    shell.withoutBin = {L"E:\\"};
    list.answer = DeleteAnswer::No;
    Click(list, shell);
    EXPECT_EQ(list.kept, (std::vector<std::pair<std::wstring, KeptReason>>{
                             {kFolder + L"NUL.tmp", KeptReason::RefusedName},
                             {kFolder + L"locked.tmp", KeptReason::InUse},
                             {kFolder + L"denied.tmp", KeptReason::AccessDenied},
                             {kFolder + L"dir.tmp", KeptReason::NotAFile},
                             {kFolder + L"lost.tmp", KeptReason::Unreachable},
                             {kFolder + longName, KeptReason::TooLong},
                             {L"E:\\nobin.tmp", KeptReason::NoBin}}));
    EXPECT_EQ(ReasonOfFailedCall(static_cast<int>(0x80070020u)), KeptReason::InUse);
    EXPECT_EQ(ReasonOfFailedCall(0x78), KeptReason::AccessDenied);
    EXPECT_EQ(ReasonOfFailedCall(0x7C), KeptReason::Failed);

    // A stop after the second file: the rest stay checked and are told as stopped.
    FakeList stopped;
    FakeShell disk;
    TenRowsThreeChecked(stopped, disk);
    stopped.stopAfterSends = 2;
    Click(stopped, disk);
    EXPECT_EQ(disk.calls.size(), 2u);
    EXPECT_EQ(stopped.kept, (std::vector<std::pair<std::wstring, KeptReason>>{{kFolder + L"F8.BAK", KeptReason::Stopped}}));
    EXPECT_EQ(stopped.status, L"删除文件 2个 未能删除 1个");
}
