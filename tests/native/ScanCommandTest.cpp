#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ScanFakes.h"
#include "scan/core/ScanCommand.h"

using namespace qorvani;
using namespace qorvani::scantest;

namespace {

using Lines = std::vector<std::wstring>;

const std::wstring kCompletion =
    L"扫描完成！请选中您认为需要删除的文件，然后点击\u201C清除选中项目\u201D删除选中的文件！";

// The main window as the scan command and the walk see it: every change is logged in order.
class FakeWindow : public ScanView, public WalkSink, public Pacing {
public:
    bool allDrives = false;
    FixedDrives drives;  // the system's fixed drives at this moment
    int drivesAsked = 0;
    std::wstring pathText = L"C:\\";
    std::deque<std::uint32_t> clock{1000, 3500};
    std::vector<Match> rows;
    Lines log;
    // Runs as the pending events (step 5) or the waiting input at a folder (the walk).
    std::function<void()> onPendingEvents;
    std::function<void(const std::wstring& folder)> onWaitingInput;

    void SetScanning(bool scanning) override { log.push_back(scanning ? L"scanning" : L"idle"); }
    void ClearResults() override {
        rows.clear();
        log.push_back(L"clear");
    }
    // The pacing's begin and end and the rows shown at the end, logged only when asked.
    bool logPacing = false;
    void ShowFoundRows() override { if (logPacing) log.push_back(L"rows shown"); }
    void Begin() override { if (logPacing) log.push_back(L"begin"); }
    void End() override { if (logPacing) log.push_back(L"end"); }
    std::size_t ResultCount() override { return rows.size(); }
    void SetResultCaption(std::wstring_view text) override { log.push_back(L"label " + std::wstring(text)); }
    void SetStatusText(std::wstring_view text) override { log.push_back(L"status " + std::wstring(text)); }
    bool AllDrivesChecked() override { return allDrives; }
    FixedDrives FixedDrivesNow() override {
        ++drivesAsked;
        return drives;
    }
    std::wstring PathText() override { return pathText; }
    void RunWaitingEvents() override {
        log.push_back(L"events");
        if (onPendingEvents) onPendingEvents();
    }
    std::uint32_t Milliseconds() override {
        log.push_back(L"clock");
        const std::uint32_t now = clock.front();
        if (clock.size() > 1) clock.pop_front();
        return now;
    }

    void ShowFolder(const std::wstring& path) override {
        log.push_back(L"status 正在扫描：" + path);
        shownFolder = path;
    }
    void AtFolderEntry() override {
        if (onWaitingInput) onWaitingInput(shownFolder);
    }
    void AppendMatch(const std::wstring& folder, std::wstring_view name, const MatchFacts& facts) override {
        rows.push_back({folder, std::wstring(name), UpperCase(name), facts.size});
        log.push_back(L"row " + folder + UpperCase(name));
    }

private:
    std::wstring shownFolder;
};

// The inputs taken away for the scan (the scan button becomes the stop button), and given back.
const Lines kDisabling = {L"scanning"};
const Lines kEnabling = {L"idle"};

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class ScanCommandTest : public ::testing::Test {
protected:
    void Click() { ScanCommandClick(window, window, window, tree, masks, state); }

    FakeWindow window;
    FakeLister tree;
    ActiveMasks masks = Masks({L"*.BAK"});
    FixedDrives& drives = window.drives;
    ScanState state;
};

TEST_F(ScanCommandTest, FullScanStepsInOrder) {
    tree.AddFile(L"C:\\", L"a.bak", 1536);
    const std::wstring sub = tree.AddFolder(L"C:\\", L"Work");
    tree.AddFile(sub, L"notes.bak", 100);
    tree.AddFile(L"C:\\", L"keep.txt", 50);
    state.totalBytes = 12345;  // left from an earlier scan
    state.stopRequested = true;
    window.rows.push_back({L"C:\\", L"old.bak", L"OLD.BAK", 1});

    Click();

    EXPECT_EQ(window.log,
              Join({{L"clear", L"label 扫描中..."}, kDisabling, {L"events", L"clock"},
                    {L"status 正在扫描：C:\\", L"row C:\\A.BAK", L"status 正在扫描：C:\\Work\\",
                     L"row C:\\Work\\NOTES.BAK"},
                    {L"events", L"status " + kCompletion, L"clock",
                     L"label 扫描结果： 扫描到的文件共有： 2个； 占用空间： 0 MB ；用时： 2.5秒"},
                    kEnabling}));
    EXPECT_EQ(state.totalBytes, 1636u);
    EXPECT_FALSE(state.stopRequested);
    EXPECT_EQ(state.startTime, 1000u);
    EXPECT_FALSE(state.scanning);
}

// Pacing begins in the command, once the rows are emptied, and ends once the inputs are back;
// the rows found are shown, a step of its own, before them.
TEST_F(ScanCommandTest, PacingBeginsAfterTheRowsAreEmptiedAndEndsAfterTheInputsAreBack) {
    tree.AddFile(L"C:\\", L"a.bak", 1536);
    window.logPacing = true;
    Click();
    EXPECT_EQ(window.log,
              Join({{L"clear", L"begin", L"label 扫描中..."}, kDisabling, {L"events", L"clock"},
                    {L"status 正在扫描：C:\\", L"row C:\\A.BAK"},
                    {L"events", L"status " + kCompletion, L"clock",
                     L"label 扫描结果： 扫描到的文件共有： 1个； 占用空间： 0 MB ；用时： 2.5秒", L"rows shown"},
                    kEnabling, {L"end"}}));
}

TEST_F(ScanCommandTest, ReportText) {
    EXPECT_EQ(ScanReportText(12, 1572864, 2500), L"扫描结果： 扫描到的文件共有： 12个； 占用空间： 1.5 MB ；用时： 2.5秒");
    EXPECT_EQ(ScanReportText(0, 0, 0), L"扫描结果： 扫描到的文件共有： 0个； 占用空间： 0 MB ；用时： 0秒");
    EXPECT_EQ(ScanReportText(1, 104858, 1234), L"扫描结果： 扫描到的文件共有： 1个； 占用空间： 0.1 MB ；用时： 1.234秒");

    // The same through a whole scan: 12 files of 128 KiB found in 2500 ms.
    for (int i = 0; i < 12; ++i) tree.AddFile(L"C:\\", L"f" + std::to_wstring(i) + L".bak", 131072);
    Click();
    ASSERT_GE(window.log.size(), 14u);
    EXPECT_EQ(window.log[window.log.size() - 2], L"label 扫描结果： 扫描到的文件共有： 12个； 占用空间： 1.5 MB ；用时： 2.5秒");
}

TEST_F(ScanCommandTest, StopHandledBeforeTheWalk) {
    tree.AddFile(L"C:\\", L"a.bak", 1);
    Lines nested;
    window.onPendingEvents = [&] {
        const std::size_t before = window.log.size();
        Click();  // the button reads "停止" by now
        nested.assign(window.log.begin() + static_cast<std::ptrdiff_t>(before), window.log.end());
    };
    Click();

    EXPECT_TRUE(nested.empty());  // the stop click itself changes nothing on screen
    EXPECT_TRUE(tree.opened.empty());
    EXPECT_EQ(window.log,
              Join({{L"clear", L"label 扫描中..."}, kDisabling, {L"events", L"clock"},
                    {L"events", L"status " + kCompletion, L"clock",
                     L"label 扫描结果： 扫描到的文件共有： 0个； 占用空间： 0 MB ；用时： 2.5秒"},
                    kEnabling}));
    EXPECT_TRUE(state.stopRequested);  // stays set until the next scan
}

TEST_F(ScanCommandTest, StopDuringTheWalkSkipsFurtherFoldersAndRoots) {
    window.allDrives = true;
    drives.push_back(L"C:\\");
    drives.push_back(L"D:\\");
    tree.AddFile(L"C:\\", L"1.bak", 1048576);
    const std::wstring a = tree.AddFolder(L"C:\\", L"A");
    tree.AddFile(a, L"2.bak", 524288);
    tree.AddFolder(a, L"AA");
    tree.AddFile(a, L"3.bak", 0);
    tree.AddFolder(L"C:\\", L"B");
    tree.AddFile(L"C:\\", L"4.bak", 0);
    tree.AddFile(L"D:\\", L"5.bak", 0);
    window.onWaitingInput = [&](const std::wstring& folder) {
        if (folder == L"C:\\A\\") Click();
    };
    Click();

    EXPECT_EQ(tree.opened, (Lines{L"C:\\", L"C:\\A\\"}));
    ASSERT_EQ(window.rows.size(), 4u);
    EXPECT_EQ(window.rows[3].name, L"4.bak");
    EXPECT_EQ(window.log,
              Join({{L"clear", L"label 扫描中..."}, kDisabling, {L"events", L"clock"},
                    {L"status 正在扫描：C:\\", L"row C:\\1.BAK", L"status 正在扫描：C:\\A\\",
                     L"row C:\\A\\2.BAK", L"row C:\\A\\3.BAK", L"row C:\\4.BAK"},
                    {L"events", L"status " + kCompletion, L"clock",
                     L"label 扫描结果： 扫描到的文件共有： 4个； 占用空间： 1.5 MB ；用时： 2.5秒"},
                    kEnabling}));
    // A new scan clears the stop and walks everything again.
    window.onWaitingInput = nullptr;
    window.clock = {10, 20};
    Click();
    EXPECT_EQ(window.rows.size(), 5u);
}

// One crowded folder and no subfolder: the walk never enters another folder, so a click made on
// "停止" while it listed is still queued when the walk ends. It runs before the caption goes back,
// as a stop: no second scan, the rows stay.
TEST_F(ScanCommandTest, AStopClickQueuedUntilTheWalkEndsIsAStopNotANewScan) {
    for (int i = 0; i < 50; ++i) tree.AddFile(L"C:\\", L"f" + std::to_wstring(i) + L".bak", 1);
    int eventRuns = 0;
    window.onPendingEvents = [&] {
        if (++eventRuns == 2) Click();  // the queued click, handled after the last root
    };
    Click();

    EXPECT_EQ(eventRuns, 2);
    EXPECT_TRUE(state.stopRequested);
    EXPECT_EQ(window.rows.size(), 50u);
    EXPECT_EQ(std::count(window.log.begin(), window.log.end(), L"clear"), 1);
    EXPECT_EQ(tree.opened, (Lines{L"C:\\"}));
    EXPECT_FALSE(state.scanning);
    // The click ran while the scan still counted as running: the inputs come back only afterwards.
    const auto events = std::find(window.log.rbegin(), window.log.rend(), L"events");
    const auto back = std::find(window.log.rbegin(), window.log.rend(), L"idle");
    EXPECT_LT(back - window.log.rbegin(), events - window.log.rbegin());
}

TEST_F(ScanCommandTest, AllDrivesCheckedKeepsPathBoxAndBrowseDisabled) {
    window.allDrives = true;
    window.pathText = L"C:\\D:\\";
    drives.push_back(L"C:\\");
    drives.push_back(L"D:\\");
    tree.AddFile(L"C:\\", L"c.bak", 0);
    tree.AddFile(L"D:\\", L"d.bak", 0);
    Click();
    EXPECT_EQ(tree.opened, (Lines{L"C:\\", L"D:\\"}));
    EXPECT_EQ(window.rows.size(), 2u);
    EXPECT_EQ(window.log.back(), L"idle");  // the window keeps the path box and browse button off
    EXPECT_EQ(window.drivesAsked, 1);

    // A disk attached since: the next scan asks the system again and walks it too; a disk taken
    // away is no longer walked.
    drives.clear();
    drives.push_back(L"C:\\");
    drives.push_back(L"E:\\");
    tree.AddFile(L"E:\\", L"e.bak", 0);
    tree.opened.clear();
    Click();
    EXPECT_EQ(tree.opened, (Lines{L"C:\\", L"E:\\"}));

    // With the box clear the drives are never asked for.
    window.allDrives = false;
    window.pathText = L"C:\\";
    Click();
    EXPECT_EQ(window.drivesAsked, 2);
}

TEST_F(ScanCommandTest, RootsFromThePathBox) {
    tree.AddFile(L"D:\\Temp\\", L"x.bak", 0);
    window.pathText = L"D:\\Temp";
    Click();
    EXPECT_EQ(tree.opened, Lines{L"D:\\Temp\\"});
    EXPECT_EQ(window.rows.size(), 1u);

    // An empty box walks nothing and reports 0 files.
    tree.opened.clear();
    window.pathText.clear();
    window.clock = {5, 5};
    Click();
    EXPECT_TRUE(tree.opened.empty());
    EXPECT_EQ(window.log[window.log.size() - 2], L"label 扫描结果： 扫描到的文件共有： 0个； 占用空间： 0 MB ；用时： 0秒");

    // No fixed drive at all: nothing is walked either.
    window.allDrives = true;
    Click();
    EXPECT_TRUE(tree.opened.empty());
}

TEST_F(ScanCommandTest, ElapsedTimeAcrossTheClockWrap) {
    window.clock = {0xFFFFFF00u, 0x00000100u};
    Click();
    EXPECT_EQ(state.startTime, 0xFFFFFF00u);
    EXPECT_EQ(window.log[window.log.size() - 2], L"label 扫描结果： 扫描到的文件共有： 0个； 占用空间： 0 MB ；用时： 0.512秒");
}

TEST_F(ScanCommandTest, MasksAreReadWhenTheScanStarts) {
    tree.AddFile(L"C:\\", L"a.bak", 0);
    tree.AddFile(L"C:\\", L"b.tmp", 0);
    masks = Masks({L"*.TMP"});
    Click();
    ASSERT_EQ(window.rows.size(), 1u);
    EXPECT_EQ(window.rows[0].upperName, L"B.TMP");

    masks.clear();
    Click();
    EXPECT_TRUE(window.rows.empty());
    EXPECT_EQ(tree.opened.size(), 2u);  // still walked
}

TEST_F(ScanCommandTest, AClickWhileAScanRunsOnlyAsksItToStop) {
    tree.AddFile(L"C:\\", L"a.bak", 0);
    state.scanning = true;  // a scan further down the stack
    Click();
    EXPECT_TRUE(window.log.empty());
    EXPECT_TRUE(tree.opened.empty());
    EXPECT_TRUE(state.stopRequested);
    EXPECT_TRUE(state.scanning);
}

}  // namespace
