// Nothing lost under hostile input: the real program closed at many points of a scan (a child
// process driven from outside, as a user would), and storms of clicks, keys and stop clicks on
// the real window while it scans.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <set>
#include <vector>

#include "RobustSupport.h"
#include "RobustWindow.h"
#include "WinTestSupport.h"
#include "common/core/Texts.h"

using namespace qorvani;
using namespace robust;

namespace {

std::wstring Caption(HWND window) {
    wchar_t text[64] = {};
    InternalGetWindowText(window, text, 64);  // no message: safe while its thread is busy
    return text;
}

// --- the program as a child process ----------------------------------------------------------

struct WindowOfProcess {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMainOf(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowOfProcess*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (owner == search->process && std::wstring(name) == kMainWindowClass) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

class Qorvani {
public:
    Qorvani() {
        std::wstring command = L"\"" + BesideSelf(QORVANI_PROGRAM_FILE) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            return;
        // The window is there once it is shown, after its start-up has made every control.
        wintest::WaitFor(
            [&] {
                WindowOfProcess search{process_.dwProcessId, nullptr};
                EnumWindows(FindMainOf, reinterpret_cast<LPARAM>(&search));
                if (search.found && IsWindowVisible(search.found) && GetDlgItem(search.found, kIdAllDrivesBox))
                    main_ = search.found;
                return main_ != nullptr;
            },
            30000, "the main window of the program started as a child");
    }
    ~Qorvani() {
        if (process_.hProcess == nullptr) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    Qorvani(const Qorvani&) = delete;
    Qorvani& operator=(const Qorvani&) = delete;

    bool Running() const { return main_ != nullptr; }
    DWORD Id() const { return process_.dwProcessId; }
    HWND Main() const { return main_; }
    HWND Item(int id) const { return GetDlgItem(main_, id); }

    // Clicks a flat button by posted mouse messages (they cross processes as they are).
    void PostClick(int id) const { qorvani::drive::PostMoveAndClickFlat(Item(id)); }
    // Types the path (WM_SETTEXT and WM_GETTEXT cross processes); true when the box holds it.
    bool SetPath(const std::wstring& path) const {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(Item(kIdPathBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG,
                            5000, &result);
        wchar_t text[MAX_PATH] = {};
        SendMessageTimeoutW(Item(kIdPathBox), WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                            5000, &result);
        return path == text;
    }
    // The last type row checked: "全选 ↑" has gone through the list.
    bool AllTypesChecked() const {
        DWORD_PTR state = 0;
        if (!SendMessageTimeoutW(Item(kIdTypeList), LVM_GETITEMSTATE, 25, LVIS_STATEIMAGEMASK, SMTO_ABORTIFHUNG, 2000,
                                 &state))
            return false;
        return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
    }
    // The frame's close: the system command, then real input so that the walk looks at its
    // queue. It must be a button or a key: GetInputState does not count pointer moves.
    void Close() const {
        PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
        Nudge();
    }
    // A real click on the caption "扫描路径：", which does nothing.
    void Nudge() const { RealClick(Item(kIdPathCaption)); }
    // Waits for the end; false when it did not come.
    bool WaitForExit(DWORD milliseconds, DWORD& code) const {
        const DWORD start = GetTickCount();
        while (WaitForSingleObject(process_.hProcess, 100) == WAIT_TIMEOUT) {
            if (GetTickCount() - start > milliseconds) return false;
            if (IsWindow(main_)) Nudge();
        }
        GetExitCodeProcess(process_.hProcess, &code);
        return true;
    }

private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

// Starts a child, checks every type and starts a scan of root; gives the tick of the start click.
DWORD StartScan(const Qorvani& child, const std::wstring& root) {
    if (!child.SetPath(root)) return 0;
    child.PostClick(kIdCheckAllTypesButton);
    wintest::WaitFor([&] { return child.AllTypesChecked(); }, 10000, "every type row checked in the child");
    child.PostClick(kIdScanButton);
    return GetTickCount();
}

// The child's report of a finished scan (its result label, read without a message).
bool ScanReported(const Qorvani& child) {
    wchar_t text[64] = {};
    InternalGetWindowText(child.Item(kIdResultCaption), text, 64);
    return std::wstring(text).rfind(L"扫描结果： 扫描到的文件共有：", 0) == 0;
}

// Waits for the child's scan to run (the start button reads "停止") or to have run already.
bool WaitForTheWalk(const Qorvani& child) {
    return wintest::WaitFor([&] { return Caption(child.Item(kIdScanButton)) == text::kStopCaption || ScanReported(child); },
                            10000, "the child's scan to start");
}

struct ClosingOutcome {
    bool exited = false;
    DWORD code = 0;
    std::vector<std::wstring> boxes;
    std::wstring state;  // what the window showed when it did not end
    bool duringScan = false;  // the close came while the scan ran
    DWORD closeToExit = 0;    // milliseconds from the close to the end of the process
};

// One closing point: the phase of the run at which the frame's close comes.
enum class ClosePoint { AtStart, DuringSelectAll, WithTheStartClick, DuringTheWalk, AfterTheScan };

ClosingOutcome CloseAt(const std::wstring& root, ClosePoint point, DWORD delay) {
    ClosingOutcome outcome;
    Qorvani child;
    if (!child.Running()) return outcome;
    qorvani::drive::DeleteAnswerer watcher(IDCANCEL, child.Id());
    switch (point) {
    case ClosePoint::AtStart:
        child.Close();
        break;
    case ClosePoint::DuringSelectAll:
        if (!child.SetPath(root)) outcome.boxes.push_back(L"the path could not be typed");
        child.PostClick(kIdCheckAllTypesButton);
        Sleep(delay);
        child.Close();
        break;
    case ClosePoint::WithTheStartClick:
        if (!child.SetPath(root)) outcome.boxes.push_back(L"the path could not be typed");
        child.PostClick(kIdScanButton);
        child.Close();
        break;
    case ClosePoint::DuringTheWalk: {
        if (StartScan(child, root) == 0) outcome.boxes.push_back(L"the path could not be typed");
        WaitForTheWalk(child);
        const DWORD walking = GetTickCount();
        while (GetTickCount() - walking < delay) Sleep(1);  // the closing point: delay ms into the walk
        outcome.duringScan = Caption(child.Item(kIdScanButton)) == text::kStopCaption;
        child.Close();
        break;
    }
    case ClosePoint::AfterTheScan: {
        if (StartScan(child, root) == 0) outcome.boxes.push_back(L"the path could not be typed");
        wintest::WaitFor([&] { return ScanReported(child); }, 60000, "the child's scan to end");
        child.Close();
        break;
    }
    }
    const DWORD closed = GetTickCount();
    outcome.exited = child.WaitForExit(30000, outcome.code);
    outcome.closeToExit = GetTickCount() - closed;
    if (!outcome.exited) {
        outcome.state = IsWindow(child.Main()) ? L"window there, caption " + Caption(child.Item(kIdScanButton)) +
                                                     L", label " + Caption(child.Item(kIdResultCaption)) +
                                                     (IsWindowEnabled(child.Item(kIdExitButton)) ? L", idle" : L", busy")
                                               : L"window gone";
    }
    watcher.Stop();  // after one more look: a box shown at the very end is seen
    for (const std::wstring& box : watcher.OtherBoxes()) outcome.boxes.push_back(box);
    for (const std::wstring& window : watcher.OtherWindows()) outcome.boxes.push_back(window);
    if (watcher.Questions() != 0) outcome.boxes.push_back(L"the delete question");
    return outcome;
}

int EnvSteps(int fallback) {
    wchar_t text[16] = {};
    return GetEnvironmentVariableW(L"QORVANI_CLOSE_STEPS", text, 16) ? _wtoi(text) : fallback;
}

// How long the walk of root takes in the child (all types checked), from the caption "停止"
// to "开始扫描" again, in milliseconds.
DWORD ScanDuration(const std::wstring& root) {
    Qorvani child;
    if (!child.Running()) return 0;
    if (StartScan(child, root) == 0) return 0;
    HWND start = child.Item(kIdScanButton);
    if (!wintest::WaitFor([&] { return Caption(start) == text::kStopCaption; }, 10000, "the child's scan to start")) return 0;
    const DWORD started = GetTickCount();
    wintest::WaitFor([&] { return Caption(start) != text::kStopCaption; }, 60000, "the child's scan to end");
    const DWORD took = GetTickCount() - started;
    PostMessageW(child.Main(), WM_CLOSE, 0, 0);
    DWORD code = 0;
    child.WaitForExit(10000, code);
    return took;
}

TEST(RobustClose, ClosingAtTwentyPointsOfAScanEndsTheProgramWithCodeZero) {
    CaseRuns("closing at many points of a scan");
    NEED_FIXTURE(root, L"many");
    // Measured twice: the first walk of a freshly made tree is slower than the later ones.
    const DWORD first = ScanDuration(root);
    const DWORD duration = std::min(first, ScanDuration(root));
    ASSERT_GT(duration, 0u) << "the program did not start beside the test program";
    std::printf("a full scan of 3000 folders in the child takes %lu ms\n", static_cast<unsigned long>(duration));

    // The points: before anything, during the select-all pass, with the start click, at even
    // steps through the first half of the walk as measured, and after it; the soak run adds many
    // more steps. (Later walks of a tree just made run faster than the measured ones, by up to
    // half under a busy host: the steps stay inside the walk all the same.)
    struct Point {
        ClosePoint point;
        DWORD delay;
    };
    std::vector<Point> points = {{ClosePoint::AtStart, 0}, {ClosePoint::DuringSelectAll, 30},
                                 {ClosePoint::WithTheStartClick, 0}};
    const int steps = Soak() ? 96 : EnvSteps(16);
    for (int i = 0; i < steps; ++i)
        points.push_back({ClosePoint::DuringTheWalk, static_cast<DWORD>(static_cast<double>(duration) * i / (2 * steps))});
    points.push_back({ClosePoint::AfterTheScan, 0});

    int exitedCleanly = 0, duringScan = 0;
    DWORD slowest = 0;
    for (const Point& p : points) {
        ++Counts().scenarios;
        const ClosingOutcome outcome = CloseAt(root, p.point, p.delay);
        SCOPED_TRACE("close point " + std::to_string(static_cast<int>(p.point)) + " after " + std::to_string(p.delay) +
                     " ms");
        EXPECT_TRUE(outcome.exited) << Narrow(outcome.state);
        if (!outcome.exited) {
            ++Counts().hangs;
            continue;
        }
        EXPECT_EQ(outcome.code, 0u);
        if (outcome.code != 0) ++Counts().crashes;
        for (const std::wstring& box : outcome.boxes) ADD_FAILURE() << "shown: " << Narrow(box);
        exitedCleanly += outcome.code == 0 && outcome.boxes.empty();
        duringScan += outcome.duringScan;
        slowest = std::max(slowest, outcome.closeToExit);
    }
    std::printf("closing points: %zu (%d while the walk ran), ended with code 0 and no box: %d, slowest end %lu ms\n",
                points.size(), duringScan, exitedCleanly, static_cast<unsigned long>(slowest));
    EXPECT_GE(duringScan, steps / 2);  // the points do fall inside the walk
    EXPECT_GE(points.size(), 20u);
}

// --- storms on the real window in this process -----------------------------------------------

class RobustStorm : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window_.Valid());
        window_.CheckType(kTmpTypeRow);
        for (int i = 0; i < 26; ++i) typesBefore_.push_back(wintest::RowChecked(window_.Item(kIdTypeList), i));
    }
    static POINT Centre(HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // Screen points of the check boxes of the first rows of the result list, measured on a
    // small scan (the rows of the next scan take the same places).
    std::vector<POINT> RowCheckBoxes(const std::wstring& small, int rows) {
        window_.Scan(small);
        std::vector<POINT> points;
        HWND list = window_.Item(kIdResultList);
        for (int row = 0; row < rows && row < wintest::RowCount(list); ++row) {
            if (const std::optional<POINT> start = wintest::RowCheckBoxStart(list, row)) {
                POINT at{start->x + 3, start->y};
                ClientToScreen(list, &at);
                points.push_back(at);
            }
        }
        return points;
    }
    ::testing::AssertionResult InputsAsBefore(const std::wstring& path) {
        for (int i = 0; i < 26; ++i)
            if (wintest::RowChecked(window_.Item(kIdTypeList), i) != typesBefore_[i])
                return ::testing::AssertionFailure() << "type row " << i << " changed";
        if (SendMessageW(window_.Item(kIdAllDrivesBox), BM_GETCHECK, 0, 0) != BST_UNCHECKED)
            return ::testing::AssertionFailure() << "the all-drives box changed";
        if (wintest::Text(window_.Item(kIdPathBox)) != path) return ::testing::AssertionFailure() << "the path box changed";
        return ::testing::AssertionSuccess();
    }

    RobustWindow window_;
    std::vector<bool> typesBefore_;
};

// Clicks on every control during a scan that never ends by itself (the forking links): the
// disabled ones must not act, the result list takes check clicks, then one stop ends it.
TEST_F(RobustStorm, ClicksOnEveryControlDuringAScanActOnlyWhereEnabled) {
    CaseRuns("input storm on every control");
    NEED_FIXTURE(fork, L"fork");
    // Walked as on a file system that gives no file IDs, the fork never ends by itself.
    window_.Main().Lister().SetFolderIdentities(false);
    NEED_FIXTURE(names, L"names.pristine");
    const std::vector<POINT> rowBoxes = RowCheckBoxes(names, 5);
    ASSERT_EQ(rowBoxes.size(), 5u);
    HWND start = window_.Item(kIdScanButton);
    std::vector<POINT> targets;
    for (int id : {kIdDeleteButton, kIdAboutButton, kIdExitButton, kIdCheckAllResultsButton, kIdCheckNoResultsButton,
                   kIdCheckAllTypesButton, kIdCheckNoTypesButton, kIdBrowseButton, kIdAllDrivesBox, kIdPathBox, kIdTypeList, kIdResultCaption,
                   kIdPathCaption, kIdStatusBar})
        targets.push_back(Centre(window_.Item(id)));
    RECT typeRow{};
    typeRow.left = LVIR_BOUNDS;
    SendMessageW(window_.Item(kIdTypeList), LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&typeRow));
    POINT typeBox{typeRow.left + 8, (typeRow.top + typeRow.bottom) / 2};
    ClientToScreen(window_.Item(kIdTypeList), &typeBox);
    targets.push_back(typeBox);
    std::vector<HWND> flats;
    for (int id : {kIdDeleteButton, kIdAboutButton, kIdExitButton, kIdCheckAllResultsButton, kIdCheckNoResultsButton,
                   kIdCheckAllTypesButton, kIdCheckNoTypesButton, kIdBrowseButton})
        flats.push_back(window_.Item(id));

    qorvani::drive::DeleteAnswerer watcher(IDCANCEL);
    std::atomic<bool> scanEnded{false};
    std::atomic<int> stillScanningAfterStorm{0};
    const int rounds = Soak() ? 30 : 3;
    std::thread storm([&] {
        wintest::WaitFor([&] { return Caption(start) == text::kStopCaption || scanEnded; }, 10000, "the scan to start");
        Sleep(200);  // into the walk
        for (int round = 0; round < rounds; ++round) {
            for (const POINT& at : targets) {
                RealClickAt(at);
                Sleep(3);
            }
            for (HWND flat : flats) wintest::PostClickFlat(flat);
            for (WORD key : {VK_SPACE, VK_RETURN, VK_ESCAPE, VK_TAB, VK_DELETE, VK_F1}) RealKey(key);
            Sleep(20);
        }
        // Rows may be checked while they are being added, once the list shows the first five
        // (a click on a place no row holds yet would check nothing).
        HWND list = window_.Item(kIdResultList);
        wintest::WaitFor([&] { return wintest::RowCount(list) >= 5 || scanEnded; }, 10000, "five rows in the list");
        for (const POINT& at : rowBoxes) {
            RealClickAt(at);
            Sleep(30);
        }
        // Time for the storm's last input to act before the look (it only widens what a storm
        // that ended the scan would show; an unended scan reads "停止" however long it is).
        Sleep(300);
        stillScanningAfterStorm = Caption(start) == text::kStopCaption ? 1 : 0;
        // One stop; again only if the walk has not seen it.
        for (int i = 0; i < 5 && !scanEnded; ++i) {
            RealClick(start);
            wintest::PollFor([&] { return scanEnded.load(); }, 3000);
        }
    });
    window_.Scan(fork);
    scanEnded = true;
    storm.join();
    wintest::Pump(200);
    watcher.Stop();
    ++Counts().scenarios;

    EXPECT_EQ(stillScanningAfterStorm.load(), 1) << "something in the storm ended the scan";
    ASSERT_TRUE(window_.Valid()) << "the window was closed by a disabled control";
    EXPECT_TRUE(window_.IdleAfterScan());
    EXPECT_TRUE(InputsAsBefore(fork));
    EXPECT_EQ(watcher.Questions(), 0);
    for (const std::wstring& box : watcher.OtherBoxes()) ADD_FAILURE() << "box: " << Narrow(box);
    for (const std::wstring& shown : watcher.OtherWindows()) ADD_FAILURE() << "window: " << Narrow(shown);
    // Exactly the five rows clicked are checked: "← 全选" and "← 全否" did not act.
    std::size_t checked = 0;
    for (std::size_t i = 0; i < window_.Results().Count(); ++i) checked += window_.Results().Checked(i);
    EXPECT_EQ(checked, 5u);
    for (std::size_t i = 0; i < 5 && i < window_.Results().Count(); ++i) EXPECT_TRUE(window_.Results().Checked(i)) << i;
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < window_.Results().Count(); ++i) total += window_.Results().Size(i);
    EXPECT_EQ(window_.Main().Scan().totalBytes, total);
}

// A burst of stop clicks, real and posted, each of which may end the scan or start a new one,
// then the frame's close box during a scan: no crash, and the window ends cleanly.
TEST_F(RobustStorm, BurstsOfStopClicksThenTheCloseBoxEndCleanly) {
    CaseRuns("stop bursts and the close box");
    NEED_FIXTURE(fork, L"fork");
    // Walked as on a file system that gives no file IDs, the fork never ends by itself.
    window_.Main().Lister().SetFolderIdentities(false);
    HWND start = window_.Item(kIdScanButton);
    POINT closeBox{};
    ASSERT_TRUE(CloseBoxPoint(window_.Handle(), closeBox));
    qorvani::drive::DeleteAnswerer watcher(IDCANCEL);
    const int bursts = Soak() ? 20 : 3;

    for (int burst = 0; burst < bursts; ++burst) {
        ++Counts().scenarios;
        std::atomic<bool> done{false};
        std::thread clicker([&] {
            wintest::WaitFor([&] { return Caption(start) == text::kStopCaption; }, 10000, "the scan to start");
            Sleep(100 + 50 * burst);  // into the walk, later with every burst
            for (int i = 0; i < 12; ++i) {
                if (i % 2) RealClick(start); else wintest::PostClickFlat(start);
                Sleep(i % 3 == 0 ? 1 : 15);
            }
            // Settle: end whatever scan the burst left running (a stop click at most every 150 ms,
            // as one landing after the end would start a new scan), until the window has read
            // "开始扫描" for 0.75 s in a row.
            ULONGLONG idleSince = 0;
            wintest::WaitFor(
                [&] {
                    if (Caption(start) == text::kStopCaption) {
                        RealClick(start);
                        Sleep(150);
                        idleSince = 0;
                        return false;
                    }
                    if (idleSince == 0) idleSince = GetTickCount64();
                    return GetTickCount64() - idleSince >= 750;
                },
                30000, "the scans of the burst to end");
            done = true;
        });
        window_.Scan(fork);
        // The burst may start nested scans; they run here.
        wintest::WaitFor([&] { return done.load(); }, 60000, "the burst and its settling");
        clicker.join();
        wintest::Pump(100);
        ASSERT_TRUE(window_.Valid());
        EXPECT_TRUE(window_.IdleAfterScan()) << "burst " << burst;
        EXPECT_TRUE(InputsAsBefore(fork));
    }

    // The close box while a scan runs: the scan stops and the window goes.
    std::thread closer([&] {
        if (!wintest::WaitFor([&] { return Caption(start) == text::kStopCaption; }, 10000, "the scan to start")) return;
        Sleep(300);  // into the walk
        RealClickAt(closeBox);
    });
    const auto begun = std::chrono::steady_clock::now();
    window_.Scan(fork);
    closer.join();
    wintest::WaitFor([&] { return !IsWindow(window_.Handle()); }, 5000, "the window to go after the close box");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    ++Counts().scenarios;
    watcher.Stop();
    EXPECT_FALSE(IsWindow(window_.Handle())) << "the close box did not close the window";
    if (IsWindow(window_.Handle())) ++Counts().hangs;
    EXPECT_TRUE(wintest::TakeQuit());
    EXPECT_LT(seconds, 20.0);
    EXPECT_EQ(watcher.Questions(), 0);
    for (const std::wstring& box : watcher.OtherBoxes()) ADD_FAILURE() << "box: " << Narrow(box);
}

// "← 全选" lets waiting events run after its first row and then every 10 ms, so other commands
// can run inside it: a scan that empties and refills the list, then (inside a second select-all
// pass run from the first one's yield) a delete that shortens it. Nothing may be addressed
// beyond the list's end, and every file that went must have been a checked row that left.
TEST_F(RobustStorm, ScanAndDeleteRunInsideASelectAllPass) {
    CaseRuns("scan and delete inside a select-all pass");
    wintest::TempTree tree;
    const int files = 2000;
    // One file per folder, so that the nested scan walks long enough for the clicks below.
    for (int i = 0; i < files; ++i) {
        tree.Folder(L"d" + std::to_wstring(i));
        tree.File(L"d" + std::to_wstring(i) + L"\\f" + std::to_wstring(i) + L".tmp", 1 + i % 7);
    }
    const Snapshot before = TakeSnapshot(tree.Root());
    window_.Scan(tree.Root());
    ASSERT_EQ(window_.Results().Count(), static_cast<std::size_t>(files));

    HWND start = window_.Item(kIdScanButton), remove = window_.Item(kIdDeleteButton);
    HWND selectAll = window_.Item(kIdCheckAllResultsButton);
    qorvani::drive::DeleteAnswerer watcher(IDYES);
    // The scan's click waits in the queue: the pass's first yield runs it. Input that comes while
    // the scan runs is judged by the scan (a click on a disabled button does nothing), so the
    // second select-all and the delete are clicked the moment the nested scan gives its inputs
    // back: the scan button's caption turning to "开始扫描" posts them. They run in the same yield,
    // the delete inside the second pass's first yield.
    struct AfterScan {
        HWND selectAll, remove;
        bool posted = false;
        int passDepth = 0;
        int depthWhenPosted = -1;
        static LRESULT CALLBACK Proc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
            auto& self = *reinterpret_cast<AfterScan*>(data);
            const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
            if (message == WM_SETTEXT && !self.posted && lParam != 0 &&
                std::wstring_view(reinterpret_cast<const wchar_t*>(lParam)) == text::kStartScanCaption) {
                self.posted = true;
                self.depthWhenPosted = self.passDepth;
                wintest::PostClickFlat(self.selectAll);
                wintest::PostClickFlat(self.remove);
            }
            return result;
        }
    } afterScan{selectAll, remove};
    afterScan.passDepth = 1;  // the outer pass runs until CheckAllResults returns
    SetWindowSubclass(start, AfterScan::Proc, 91, reinterpret_cast<DWORD_PTR>(&afterScan));
    wintest::PostClickFlat(start);
    window_.CheckAllResults();
    afterScan.passDepth = 0;
    RemoveWindowSubclass(start, AfterScan::Proc, 91);
    const int deleteNested = afterScan.depthWhenPosted == 1 ? 1 : 0;
    // The delete runs inside the pass or, when it came after it, from the queue here.
    wintest::WaitFor([&] { return watcher.Questions() > 0 && window_.Status().rfind(L"删除文件", 0) == 0; }, 30000,
                     "the delete to ask and end");
    watcher.Stop();
    ++Counts().scenarios;

    ASSERT_TRUE(window_.Valid());
    EXPECT_EQ(watcher.Questions(), 1);
    EXPECT_TRUE(afterScan.posted) << "the nested scan did not run";
    EXPECT_EQ(deleteNested, 1) << "the scan ran after the pass";
    EXPECT_EQ(window_.Results().Count(), static_cast<std::size_t>(files - 1)) << "the delete saw one checked row";
    for (const std::wstring& box : watcher.OtherBoxes()) ADD_FAILURE() << "box: " << Narrow(box);
    // The files that went are exactly the ones whose rows left; the rows left name files that are there.
    const Snapshot after = TakeSnapshot(tree.Root());
    std::set<std::wstring> listed;
    for (std::size_t i = 0; i < window_.Results().Count(); ++i)
        listed.insert(window_.Results().ExactPath(i).substr(tree.Root().size()));
    Snapshot gone;
    for (const Entry& entry : before)
        if (entry.kind == EntryKind::File && listed.count(entry.path) == 0) gone.insert(entry);
    const TreeComparison& compared = robust::Count(CompareTrees(before, after, gone));
    EXPECT_TRUE(compared.Same()) << Narrow(compared.report);
    EXPECT_EQ(listed.size(), window_.Results().Count()) << "a row twice";
    const std::size_t deleted = files - window_.Results().Count();
    EXPECT_EQ(window_.Status(), L"删除文件 " + std::to_wstring(deleted) + L"个 ");
    EXPECT_EQ(window_.Report(), L"扫描结果： 剩余的文件共有： " + std::to_wstring(window_.Results().Count()) + L"个");
    EXPECT_EQ(wintest::RowCount(window_.Item(kIdResultList)), static_cast<int>(window_.Results().Count()));
    std::printf("select-all pass with a scan and a delete inside%s: %zu of %d deleted\n",
                deleteNested ? "" : " (the delete came after the pass)", deleted, files);
}

}  // namespace
