// Nothing lost: the real window on fixture trees made from Linux (tests/windows/make_fixtures.sh)
// with names Windows cannot make, trees deeper and longer than its paths, folder-link loops,
// folders that cannot be listed, files changed between the scan and the delete, and sizes around
// the 32-bit limits. Every case snapshots its whole tree (paths, sizes, content hashes) before
// and after and counts what it checked into the summary line printed at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <set>
#include <thread>

#include "RobustSupport.h"
#include "RobustWindow.h"
#include "WinTestSupport.h"
#include "common/core/Texts.h"

using namespace qorvani;
using namespace robust;

namespace {

std::wstring Repeat(const std::wstring& piece, int times) {
    std::wstring text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// What must become of a file after a delete.
enum class Fate {
    Gone,    // sent to the shell and removed
    Kept,    // refused before the shell: stays, its row stays checked and counts as not deleted
    Either,  // sent, but the system may fail it: either gone (row leaves) or kept (row stays)
};

struct NameCase {
    std::wstring folder;  // relative, "" or ending in "\"
    std::wstring name;    // as Wine lists it
    bool check;
    Fate yes, no;         // per answer
    std::uint64_t size = 0;  // tells apart files listed under one path; 0 for any
};

// The names tree as make_fixtures.sh makes it. Look-alikes stay unchecked, so that a shell that
// read a name as a pattern or another path would delete something it must not.
std::vector<NameCase> NamesTree() {
    const Fate G = Fate::Gone, K = Fate::Kept, E = Fate::Either;
    // Names above 245 bytes cannot get a trash record (name + ".trashinfo" exceeds 255 bytes).
    return {
        {L"", L"中文名.tmp", true, G, G},
        {L"", L"😀emoji.tmp", true, G, G},
        {L"", L"한국어.tmp", true, G, G},
        {L"", L"ไทย-é-ß.tmp", true, G, G},
        {L"", L"a?b.tmp", true, K, K},
        {L"", L"axb.tmp", false, K, K},
        {L"", L"st*r.tmp", true, K, K},
        {L"", L"stXr.tmp", false, K, K},
        {L"", L"x\\y.tmp", true, K, K},
        {L"x\\", L"y.tmp", false, K, K},
        {L"", L"col:on.tmp", true, K, K},
        {L"", L"q\"uote.tmp", true, K, K},
        {L"", L"lt<gt>.tmp", true, K, K},
        {L"", L"pi|pe.tmp", true, K, K},
        // Case twins: the shell could take the spelling not checked, so none is sent.
        {L"", L"Case.tmp", true, K, K},
        {L"", L"CASE.tmp", false, K, K},
        {L"", L"case.tmp", true, K, K},
        {L"", L" lead.tmp", true, G, G},
        {L"", L".dotlead.tmp", true, G, G},
        {L"", L"  .tmp", true, G, G},
        {L"", L"~trail.tmp ", true, K, K},
        {L"", L"~trail.tmp.", true, K, K},
        {L"", L"~trail.tmp", false, K, K},
        // The byte 0xFE, undecodable, and a real U+FFFD: the same name as Wine lists them. Only the
        // first is checked; a path naming the second must not delete it.
        {L"", L"\uFFFD.tmp", true, K, K, 9},
        {L"", L"\uFFFD.tmp", false, K, K, 12},
        {L"", L"a\x01" L"b.tmp", true, K, K},
        {L"", L"nl\nx.tmp", true, K, K},
        {L"", Repeat(L"k", 251) + L".tmp", true, G, E},
        {L"", Repeat(L"中", 83) + L"a.tmp", true, G, E},
        {L"", Repeat(L"😀", 62) + L".tmp", true, G, E},
        {L"sub 中文\\", L"内.tmp", true, G, G},
        {L"dir.tmp\\", L"inner.tmp", true, G, G},
    };
}

std::wstring RelativeFolder(const RobustWindow& window, std::size_t row, const std::wstring& root) {
    const std::wstring& folder = window.Results().Folder(row);
    return folder.rfind(root, 0) == 0 ? folder.substr(root.size()) : L"<outside>" + folder;
}

std::wstring Num(std::size_t n) { return L" " + std::to_wstring(n); }

std::wstring DeleteStatus(std::size_t deleted, std::size_t failed) {
    std::wstring status = L"删除文件" + Num(deleted) + L"个 ";
    if (failed) status += L"未能删除" + Num(failed) + L"个";
    return status;
}

// The entry of a snapshot at a relative path (the first, when several share it).
const Entry* FileAt(const Snapshot& snapshot, const std::wstring& path) {
    for (auto it = snapshot.lower_bound(Entry{path, EntryKind::File, 0, 0}); it != snapshot.end() && it->path == path;
         ++it)
        if (it->kind == EntryKind::File) return &*it;
    return nullptr;
}

std::size_t FilesAt(const Snapshot& snapshot, const std::wstring& path) {
    std::size_t count = 0;
    for (const Entry& entry : snapshot) count += entry.path == path && entry.kind == EntryKind::File;
    return count;
}

bool IsTmp(const std::wstring& name) {
    const std::wstring upper = Upper(name);
    return upper.size() >= 4 && upper.compare(upper.size() - 4, 4, L".TMP") == 0;
}

// "*.tmp" or "~*.*", the two types the names case checks.
bool IsNamesJunk(const std::wstring& name) {
    return IsTmp(name) || (!name.empty() && name[0] == L'~' && name.find(L'.', 1) != std::wstring::npos);
}

// Scans a names tree, checks every row but the look-alikes, deletes with the given answer and
// checks the outcome file by file.
void RunNamesCase(const std::wstring& root, int answer) {
    const std::vector<NameCase> cases = NamesTree();
    const Snapshot before = TakeSnapshot(root);
    // The table and the script agree: every junk file of the tree is in the table, once.
    std::size_t junk = 0;
    for (const Entry& entry : before) junk += entry.kind == EntryKind::File && IsNamesJunk(entry.path.substr(entry.path.rfind(L'\\') + 1));
    ASSERT_EQ(junk, cases.size()) << "make_fixtures.sh and NamesTree() differ";
    for (const NameCase& c : cases)
        ASSERT_NE(FileAt(before, c.folder + c.name), nullptr) << Narrow(c.folder + c.name) << " not in the fixture";

    RobustWindow window;
    ASSERT_TRUE(window.Valid());
    window.CheckType(0);  // "~*.*"
    window.CheckType(kTmpTypeRow);
    window.Scan(root);
    ASSERT_TRUE(window.IdleAfterScan());

    // Every name is listed with its exact path (folder and name as listed), once per file.
    std::multiset<std::pair<std::wstring, std::wstring>> listed, expected;
    for (std::size_t i = 0; i < window.Results().Count(); ++i) {
        const std::wstring folder = RelativeFolder(window, i, root);
        const std::wstring& name = window.Results().Name(i);
        listed.insert({folder, name});
        EXPECT_EQ(window.Results().ExactPath(i), root + folder + name);
        EXPECT_EQ(window.Results().DisplayText(i), root + folder + Upper(name));
        const std::wstring shown = wintest::RowText(window.Item(kIdResultList), static_cast<int>(i));
        EXPECT_EQ(shown, window.Results().DisplayText(i).substr(0, shown.size())) << Narrow(name);
        EXPECT_GE(shown.size(), std::min<std::size_t>(window.Results().DisplayText(i).size(), 259u));
    }
    for (const NameCase& c : cases) expected.insert({c.folder, c.name});
    EXPECT_EQ(listed, expected);
    if (listed != expected) return;

    // Check all rows, then clear the look-alikes again with the mouse.
    window.CheckAllResults();
    std::vector<const NameCase*> caseOfRow(window.Results().Count(), nullptr);
    std::vector<bool> used(cases.size(), false);
    for (std::size_t i = 0; i < window.Results().Count(); ++i) {
        for (std::size_t k = 0; k < cases.size(); ++k) {
            if (used[k] || cases[k].folder != RelativeFolder(window, i, root) || cases[k].name != window.Results().Name(i))
                continue;
            if (cases[k].size != 0 && cases[k].size != window.Results().Size(i)) continue;
            used[k] = true;
            caseOfRow[i] = &cases[k];
            break;
        }
        ASSERT_NE(caseOfRow[i], nullptr) << Narrow(window.Results().Name(i));
        if (!caseOfRow[i]->check) window.ToggleRow(i);
        EXPECT_EQ(window.Results().Checked(i), caseOfRow[i]->check) << Narrow(window.Results().Name(i));
    }

    std::vector<std::wstring> ourNames;
    for (const NameCase& c : cases) ourNames.push_back(c.name);
    if (answer == IDNO) RemoveFromTrash(ourNames);  // earlier runs' copies would collide
    const auto trashBefore = TrashContents();

    const RobustWindow::DeleteSeen seen = window.Delete(answer);
    EXPECT_EQ(seen.questions, 1);
    for (const std::wstring& box : seen.otherBoxes) ADD_FAILURE() << "box: " << Narrow(box);

    const Snapshot after = TakeSnapshot(root);
    // What went: the Gone rows, and those Either rows whose file is no longer there.
    Snapshot gone;
    std::vector<bool> left(caseOfRow.size(), false);
    for (std::size_t i = 0; i < caseOfRow.size(); ++i) {
        const NameCase& c = *caseOfRow[i];
        if (!c.check) continue;
        const Fate fate = answer == IDYES ? c.yes : c.no;
        const std::wstring path = c.folder + c.name;
        const bool absent = FilesAt(after, path) < FilesAt(before, path);
        // The shell takes no path of MAX_PATH or more: such a row is never sent, whatever its name.
        if ((root + path).size() >= MAX_PATH) continue;
        if (fate == Fate::Gone || (fate == Fate::Either && absent)) {
            gone.insert(*FileAt(before, path));
            left[i] = true;
        }
    }
    const TreeComparison& compared = robust::Count(CompareTrees(before, after, gone));
    EXPECT_TRUE(compared.Same()) << Narrow(compared.report);

    // The rows left are the others in their order, checked ones still checked, sizes dropped.
    std::vector<std::pair<std::wstring, bool>> expectedRows;
    std::size_t failed = 0;
    for (std::size_t i = 0; i < caseOfRow.size(); ++i) {
        if (left[i]) continue;
        expectedRows.push_back({caseOfRow[i]->folder + caseOfRow[i]->name, caseOfRow[i]->check});
        failed += caseOfRow[i]->check;
    }
    std::vector<std::pair<std::wstring, bool>> rows;
    for (std::size_t i = 0; i < window.Results().Count(); ++i) {
        rows.push_back({RelativeFolder(window, i, root) + window.Results().Name(i), window.Results().Checked(i)});
        // Each row left keeps its size cell.
        EXPECT_EQ(wintest::RowText(window.Item(kIdResultList), static_cast<int>(i), 1),
                  window.Results().SizeText(i));
    }
    EXPECT_EQ(rows, expectedRows);
    const std::size_t deleted = caseOfRow.size() - expectedRows.size();
    std::printf("names, answer %s: %zu rows, %zu checked, %zu deleted, %zu kept and counted as not deleted\n",
                answer == IDYES ? "Yes" : "No", caseOfRow.size(), deleted + failed, deleted, failed);
    EXPECT_EQ(window.Status(), DeleteStatus(deleted, failed));
    EXPECT_EQ(window.Report(), L"扫描结果： 剩余的文件共有：" + Num(expectedRows.size()) + L"个");

    // Answer No: each file that went is in the trash, with its contents, and nowhere else in the
    // tree (the comparison above). Answer Yes: none of them is in the trash.
    const auto trashAfter = TrashContents();
    std::multiset<std::pair<std::wstring, std::uint64_t>> added;
    for (const auto& item : trashAfter)
        if (trashBefore.count(item) < trashAfter.count(item) && added.count(item) < trashAfter.count(item) - trashBefore.count(item))
            added.insert(item);
    std::multiset<std::pair<std::wstring, std::uint64_t>> wanted;
    if (answer == IDNO)
        for (const Entry& entry : gone) wanted.insert({entry.path.substr(entry.path.rfind(L'\\') + 1), entry.hash});
    std::multiset<std::pair<std::wstring, std::uint64_t>> ours;
    for (const auto& item : added) {
        const std::wstring base = TrashBaseName(item.first);
        if (std::find(ourNames.begin(), ourNames.end(), base) != ourNames.end()) ours.insert({base, item.second});
    }
    EXPECT_EQ(ours.size(), wanted.size());
    if (ours != wanted) {
        std::wstring diff;
        for (const auto& item : wanted)
            if (ours.count(item) == 0) diff += L"not in the trash: " + item.first + L"\n";
        for (const auto& item : ours)
            if (wanted.count(item) == 0) diff += L"in the trash, unexpected: " + item.first + L"\n";
        ADD_FAILURE() << "the trash does not hold exactly the files that went\n" << Narrow(diff);
    }
    RemoveFromTrash(ourNames);
}

TEST(RobustNames, YesDeletesExactlyTheListedFilesAndNoLookAlike) {
    CaseRuns("names, answer Yes");
    NEED_FIXTURE(root, L"names.yes" + CopySuffix());
    RunNamesCase(root, IDYES);
}

TEST(RobustNames, NoPutsExactlyTheListedFilesInTheTrashAndNowhereElse) {
    CaseRuns("names, answer No");
    NEED_FIXTURE(root, L"names.no" + CopySuffix());
    RunNamesCase(root, IDNO);
}

// A folder's listing pattern (path + "*.*") fits a Windows path.
bool Listable(const std::wstring& folder) { return folder.size() + 3 < MAX_PATH; }

TEST(RobustTrees, DeepAndLongPathsArePassedOverWithoutWrongRows) {
    CaseRuns("300 folders deep, paths beyond MAX_PATH");
    NEED_FIXTURE(root, L"deep");
    const Snapshot before = TakeSnapshot(root);
    RobustWindow window;
    ASSERT_TRUE(window.Valid());
    window.CheckType(kTmpTypeRow);
    const auto start = std::chrono::steady_clock::now();
    window.Scan(root);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 60.0);
    if (seconds >= 60.0) ++Counts().hangs;
    EXPECT_TRUE(window.IdleAfterScan());

    // Every row is a real file of the tree, a junk one, listed once.
    std::set<std::wstring> rows;
    std::size_t beyondMaxPath = 0;
    for (std::size_t i = 0; i < window.Results().Count(); ++i) {
        const std::wstring path = window.Results().ExactPath(i);
        ASSERT_EQ(path.rfind(root, 0), 0u);
        const std::wstring relative = path.substr(root.size());
        EXPECT_NE(FileAt(before, relative), nullptr) << Narrow(relative);
        EXPECT_TRUE(IsTmp(window.Results().Name(i)));
        EXPECT_TRUE(rows.insert(relative).second) << "twice: " << Narrow(relative);
        beyondMaxPath += path.size() >= MAX_PATH;
    }
    // Every junk file in a folder that a Windows path can list is listed.
    std::size_t listable = 0, passedOver = 0;
    for (const Entry& entry : before) {
        if (entry.kind != EntryKind::File || !IsTmp(entry.path)) continue;
        const std::wstring folder = root + entry.path.substr(0, entry.path.rfind(L'\\') + 1);
        if (Listable(folder)) {
            ++listable;
            EXPECT_EQ(rows.count(entry.path), 1u) << "not listed: " << Narrow(entry.path);
        } else {
            ++passedOver;
        }
    }
    EXPECT_GT(passedOver, 150u);  // most of the 300 levels lie beyond the limit
    EXPECT_GT(beyondMaxPath, 0u);  // a long name in a listable folder makes a path beyond MAX_PATH
    std::printf("deep tree: %zu junk files listable and listed, %zu beyond the path limit passed over, %.1f s\n",
                listable, passedOver, seconds);
    const TreeComparison& compared = robust::Count(CompareTrees(before, TakeSnapshot(root), {}));
    EXPECT_TRUE(compared.Same()) << Narrow(compared.report);
}

TEST(RobustTrees, FilesWhosePathsPassMaxPathAreNotSentButKeptAndCounted) {
    CaseRuns("delete beyond MAX_PATH");
    NEED_FIXTURE(root, L"long.yes" + CopySuffix());
    const Snapshot before = TakeSnapshot(root);
    RobustWindow window;
    ASSERT_TRUE(window.Valid());
    window.CheckType(kTmpTypeRow);
    window.Scan(root);
    ASSERT_TRUE(window.IdleAfterScan());
    // The longest path listed, and the shortest.
    std::size_t longest = 0, shortest = 0;
    for (std::size_t i = 0; i < window.Results().Count(); ++i) {
        if (window.Results().ExactPath(i).size() > window.Results().ExactPath(longest).size()) longest = i;
        if (window.Results().ExactPath(i).size() < window.Results().ExactPath(shortest).size()) shortest = i;
    }
    ASSERT_GE(window.Results().ExactPath(longest).size(), static_cast<std::size_t>(MAX_PATH));
    const std::wstring longPath = window.Results().ExactPath(longest).substr(root.size());
    const std::wstring shortPath = window.Results().ExactPath(shortest).substr(root.size());
    const std::size_t rowCount = window.Results().Count();
    window.ToggleRow(longest);
    window.ToggleRow(shortest);
    const RobustWindow::DeleteSeen seen = window.Delete(IDYES);
    EXPECT_EQ(seen.questions, 1);
    const Snapshot after = TakeSnapshot(root);
    // The shell takes no path of MAX_PATH or more (Wine's would, Windows' fails): the long one is
    // never sent. It stays on disk and in the list, still checked, and is counted as not deleted.
    EXPECT_NE(FileAt(after, longPath), nullptr);
    const Snapshot gone{*FileAt(before, shortPath)};
    const TreeComparison& compared = robust::Count(CompareTrees(before, after, gone));
    EXPECT_TRUE(compared.Same()) << Narrow(compared.report);
    EXPECT_EQ(window.Results().Count(), rowCount - 1);
    EXPECT_EQ(window.Status(), DeleteStatus(1, 1));
    bool keptChecked = false;
    for (std::size_t i = 0; i < window.Results().Count(); ++i)
        if (window.Results().ExactPath(i) == root + longPath) keptChecked = window.Results().Checked(i);
    EXPECT_TRUE(keptChecked);
    std::printf("a path of %zu characters: kept and counted\n", (root + longPath).size());
}

// The rows of the last scan as paths below root, sorted.
std::vector<std::wstring> RowsBelow(const RobustWindow& window, const std::wstring& root) {
    std::vector<std::wstring> rows;
    for (std::size_t i = 0; i < window.Results().Count(); ++i) {
        const std::wstring path = window.Results().ExactPath(i);
        rows.push_back(path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Folder links back to a folder on the walked path are passed over: every file is listed once,
// at once; a link to a folder outside the tree is walked like any folder.
TEST(RobustTrees, FolderLinkLoopsAreCutWithEachFileListedOnce) {
    CaseRuns("folder link loops");
    NEED_FIXTURE(loop, L"loop");
    NEED_FIXTURE(loop2, L"loop2");
    NEED_FIXTURE(cycles, L"cycles");
    RobustWindow window;
    ASSERT_TRUE(window.Valid());
    window.CheckType(kTmpTypeRow);
    const Snapshot before = TakeSnapshot(loop), before2 = TakeSnapshot(loop2);
    using Rows = std::vector<std::wstring>;

    // Wine shows a Linux link to a folder as a folder that is a reparse point.
    WIN32_FIND_DATAW link{};
    HANDLE find = FindFirstFileW((loop + L"self").c_str(), &link);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    EXPECT_EQ(link.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));

    // cycles\a\b holds two links to itself and one to its grandparent cycles.
    auto start = std::chrono::steady_clock::now();
    window.Scan(cycles);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 30.0);  // a bound for a hang: how fast is the benchmarks' business
    if (seconds >= 30.0) ++Counts().hangs;
    EXPECT_TRUE(window.IdleAfterScan());
    EXPECT_EQ(RowsBelow(window, cycles),
              (Rows{L"a\\a.tmp", L"a\\b\\b.tmp", L"away\\e.tmp", L"top.tmp"}));
    std::printf("link cycles: scanned in %.3f s\n", seconds);

    window.Scan(loop);
    EXPECT_TRUE(window.IdleAfterScan());
    EXPECT_EQ(RowsBelow(window, loop), (Rows{L"j.tmp"}));

    // loop2\a\b\up -> loop2: a loop through an ancestor.
    window.Scan(loop2);
    EXPECT_TRUE(window.IdleAfterScan());
    EXPECT_EQ(RowsBelow(window, loop2), (Rows{L"a\\b\\k.tmp", L"a\\j.tmp"}));
    EXPECT_TRUE(robust::Count(CompareTrees(before, TakeSnapshot(loop), {})).Same());
    EXPECT_TRUE(robust::Count(CompareTrees(before2, TakeSnapshot(loop2), {})).Same());
}

TEST(RobustTrees, ForkingLinkLoopEndsOnAStopClick) {
    CaseRuns("forking link loop, stopped");
    NEED_FIXTURE(fork, L"fork");
    RobustWindow window;
    ASSERT_TRUE(window.Valid());
    // Walked as on a file system that gives no file IDs, the fork never ends by itself.
    window.Main().Lister().SetFolderIdentities(false);
    window.CheckType(kTmpTypeRow);
    // Two links to the next level at every level: no loop, but the paths double at every level,
    // so no path limit ends this walk in useful time; the stop click must.
    HWND start = window.Item(kIdScanButton);
    std::atomic<bool> ended{false};
    std::atomic<long long> stopAt{0};
    std::thread stopper([&] {
        auto caption = [&] {
            wchar_t text[32] = {};
            InternalGetWindowText(start, text, 32);
            return std::wstring(text);
        };
        if (!wintest::WaitFor([&] { return caption() == text::kStopCaption || ended; }, 10000, "the scan to start") || ended)
            return;
        Sleep(1000);  // a second into the walk
        stopAt = GetTickCount();
        // Clicks until the walk has seen one; a stop handled is final, a later click would
        // start a new scan, so at most a few.
        for (int i = 0; i < 3 && !ended; ++i) {
            RealClick(start);
            wintest::PollFor([&] { return ended.load(); }, 5000);
        }
    });
    const auto begun = std::chrono::steady_clock::now();
    window.Scan(fork);
    ended = true;
    const DWORD stopped = GetTickCount() - static_cast<DWORD>(stopAt.load());
    stopper.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    EXPECT_LT(seconds, 20.0);
    EXPECT_LT(stopped, 5000u);
    if (seconds >= 20.0) ++Counts().hangs;
    EXPECT_TRUE(window.IdleAfterScan());
    EXPECT_GT(window.Results().Count(), 10u);
    std::printf("forking loop: %zu rows until the stop, which took %lu ms\n", window.Results().Count(),
                static_cast<unsigned long>(stopped));
}

TEST(RobustTrees, UnlistableFoldersArePassedOverInSilence) {
    CaseRuns("unlistable folders");
    NEED_FIXTURE(root, L"unlist");
    const Snapshot before = TakeSnapshot(root);
    RobustWindow window;
    ASSERT_TRUE(window.Valid());
    window.CheckType(kTmpTypeRow);
    qorvani::drive::DeleteAnswerer watcher(IDCANCEL);
    window.Scan(root);
    watcher.Stop();
    EXPECT_TRUE(window.IdleAfterScan());
    EXPECT_TRUE(watcher.OtherBoxes().empty());

    // Exactly the files that a path names as they are; the folders "q?d", "st*r", "lt<gt>",
    // "pi|pe", "qu"ote" and "x\z" cannot be listed; "d." would list d, "y\w" would list y\w,
    // and "\xFE" (listed as U+FFFD) would list the real U+FFFD folder beside it.
    std::multiset<std::wstring> expected = {L"ok\\ok.tmp", L"zz.tmp",   L"d\\f.tmp",   L"y\\w\\q.tmp",
                                            L"fifo.tmp",   L"sp \\t.tmp", L"col:d\\h.tmp"};
    // Permissions keep root out of nothing: the locked folder is listed when this process can.
    WIN32_FIND_DATAW data;
    HANDLE probe = FindFirstFileW((root + L"locked\\*").c_str(), &data);
    const bool lockedReadable = probe != INVALID_HANDLE_VALUE;
    if (lockedReadable) {
        FindClose(probe);
        expected.insert(L"locked\\in.tmp");
    }
    std::multiset<std::wstring> listed;
    for (std::size_t i = 0; i < window.Results().Count(); ++i)
        listed.insert(window.Results().ExactPath(i).substr(root.size()));
    EXPECT_EQ(listed, expected);
    std::printf("unlistable folders: %zu rows; the chmod 000 folder was %s\n", listed.size(),
                lockedReadable ? "readable (running as root)" : "not readable");
    const TreeComparison& compared = robust::Count(CompareTrees(before, TakeSnapshot(root), {}));
    EXPECT_TRUE(compared.Same()) << Narrow(compared.report);
}

// Between the scan and the delete: one checked file removed by other means, one replaced by a
// folder with contents, one held open without delete sharing; one deleted normally.
TEST(RobustBetween, FilesChangedAfterTheScanAreHandledExactly) {
    CaseRuns("changed between scan and delete");
    for (int answer : {IDYES, IDNO}) {
        ++Counts().scenarios;
        SCOPED_TRACE(answer == IDYES ? "answer Yes" : "answer No");
        wintest::TempTree tree;
        const std::wstring unique = std::to_wstring(GetTickCount());
        const std::wstring removed = L"removed" + unique + L".tmp", replaced = L"replaced" + unique + L".tmp",
                           held = L"held" + unique + L".tmp", plain = L"plain" + unique + L".tmp";
        for (const std::wstring& name : {removed, replaced, held, plain}) tree.File(name, 300);
        tree.File(L"unchecked.tmp", 40);
        tree.File(L"other.txt", 50);
        RobustWindow window;
        ASSERT_TRUE(window.Valid());
        window.CheckType(kTmpTypeRow);
        window.Scan(tree.Root());
        ASSERT_EQ(window.Results().Count(), 5u);
        std::vector<std::wstring> order;
        for (std::size_t i = 0; i < window.Results().Count(); ++i) {
            order.push_back(window.Results().Name(i));
            if (window.Results().Name(i) != L"unchecked.tmp") window.ToggleRow(i);
        }

        ASSERT_TRUE(DeleteFileW((tree.Root() + removed).c_str()));
        ASSERT_TRUE(DeleteFileW((tree.Root() + replaced).c_str()));
        tree.Folder(replaced);
        tree.File(replaced + L"\\inside.tmp", 10);
        tree.File(replaced + L"\\inside.doc", 20);
        FileHolder holder(tree.Root() + held);
        ASSERT_TRUE(holder.Holding());
        const Snapshot before = TakeSnapshot(tree.Root());
        const auto trashBefore = TrashContents();

        const RobustWindow::DeleteSeen seen = window.Delete(answer);
        EXPECT_EQ(seen.questions, 1);
        const Snapshot after = TakeSnapshot(tree.Root());
        const TreeComparison& compared = robust::Count(CompareTrees(before, after, {*FileAt(before, plain)}));
        EXPECT_TRUE(compared.Same()) << Narrow(compared.report);

        // The removed and the plain file leave the list; the folder and the held file stay, checked.
        std::vector<std::pair<std::wstring, bool>> rows, expectedRows;
        for (const std::wstring& name : order)
            if (name != removed && name != plain) expectedRows.push_back({name, name != L"unchecked.tmp"});
        for (std::size_t i = 0; i < window.Results().Count(); ++i)
            rows.push_back({window.Results().Name(i), window.Results().Checked(i)});
        EXPECT_EQ(rows, expectedRows);
        EXPECT_EQ(window.Status(), DeleteStatus(2, 2));
        EXPECT_EQ(window.Report(), L"扫描结果： 剩余的文件共有： 3个");

        // No: the plain file is in the trash, and neither the folder nor its contents are.
        const auto trashAfter = TrashContents();
        std::vector<std::wstring> added;
        for (const auto& item : trashAfter)
            if (trashBefore.count(item) == 0) added.push_back(TrashBaseName(item.first));
        const bool plainTrashed = std::find(added.begin(), added.end(), plain) != added.end();
        EXPECT_EQ(plainTrashed, answer == IDNO);
        for (const std::wstring& name : added) {
            EXPECT_NE(name, replaced);
            EXPECT_NE(name, L"inside.tmp");
        }
        RemoveFromTrash({plain});
    }
}

TEST(RobustSizes, SizeCellsAndTotalsAreExactAcrossThe32BitLimits) {
    CaseRuns("sizes around 2^31, 2^32, 5 GiB");
    NEED_FIXTURE(root, L"sizes");
    const Snapshot before = TakeSnapshot(root);
    RobustWindow window;
    ASSERT_TRUE(window.Valid());
    window.CheckType(kTmpTypeRow);
    window.Scan(root);
    ASSERT_TRUE(window.IdleAfterScan());
    // kB = floor(size / 102.4) / 10; below 103 bytes the bytes themselves.
    const std::map<std::wstring, std::wstring> cells = {
        {L"s0.tmp", L" 0(字节)"},       {L"s102.tmp", L" 102(字节)"}, {L"s103.tmp", L" 0.1"},
        {L"half.tmp", L" 512"},          {L"s2g.tmp", L" 2097152"},    {L"s3e9.tmp", L" 2929687.5"},
        {L"s4g.tmp", L" 4194304"},       {L"s5g.tmp", L" 5242880"}};
    std::map<std::wstring, std::wstring> shown;
    for (std::size_t i = 0; i < window.Results().Count(); ++i)
        shown[window.Results().Name(i)] = wintest::RowText(window.Item(kIdResultList), static_cast<int>(i), 1);
    EXPECT_EQ(shown, cells);
    const std::uint64_t total = 0ull + 102 + 103 + 524288 + 2147483648ull + 3000000000ull + 4294967296ull + 5368709120ull;
    EXPECT_EQ(window.Main().Scan().totalBytes, total);
    // MB = floor(14811684557 / 104857.6) / 10 = 14125.5
    EXPECT_EQ(window.Report().rfind(L"扫描结果： 扫描到的文件共有： 8个； 占用空间： 14125.5 MB ；用时：", 0), 0u)
        << Narrow(window.Report());
    const TreeComparison& compared = robust::Count(CompareTrees(before, TakeSnapshot(root), {}));
    EXPECT_TRUE(compared.Same()) << Narrow(compared.report);
}

}  // namespace
