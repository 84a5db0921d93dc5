// Long commands never leave the window counted as hung, and a late stop still works. A second
// process (this program started again with --watch-hung) asks IsHungAppWindow about the main window
// every 0.5 s while the command runs. These cases take about a minute in all (LongOps prefix).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>

#include "DeleteAnswerer.h"
#include "MainWindowFixture.h"
#include "RobustSupport.h"
#include "WinTestSupport.h"
#include "app/core/Layout.h"
#include "app/win32/MainWindow.h"
#include "common/core/Texts.h"
#include "common/win32/Handles.h"
#include "scan/core/ScanCommand.h"

using namespace qorvani;
using namespace wintest;

// The watcher process: samples until the event is set, then writes "samples hung" to the file.
int WatchHung(const wchar_t* window, const wchar_t* eventName, const wchar_t* outFile) {
    const HWND target = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(window, nullptr, 10)));
    HANDLE stop = OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, eventName);
    if (stop == nullptr) return 2;
    const std::wstring readyName = std::wstring(eventName) + L"-ready";
    if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, readyName.c_str())) {
        SetEvent(ready);
        CloseHandle(ready);
    }
    HANDLE sampled = OpenEventW(EVENT_MODIFY_STATE, FALSE, (std::wstring(eventName) + L"-sampled").c_str());
    int samples = 0, hung = 0;
    while (WaitForSingleObject(stop, 500) == WAIT_TIMEOUT) {
        if (!IsWindow(target)) break;
        ++samples;
        if (IsHungAppWindow(target)) ++hung;
        if (sampled) SetEvent(sampled);
    }
    if (sampled) CloseHandle(sampled);
    CloseHandle(stop);
    FILE* out = _wfopen(outFile, L"w");
    if (out == nullptr) return 3;
    std::fprintf(out, "%d %d\n", samples, hung);
    std::fclose(out);
    return 0;
}

namespace {

std::wstring OwnPath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

// Starts the watcher of one window; Stop gives how many samples it took and how many found the
// window hung. AwaitSample waits (handling this thread's messages) for a sample taken after the call.
class HungWatcher {
public:
    explicit HungWatcher(HWND window) {
        const std::wstring tag = L"qorvani-watch-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(GetTickCount());
        stop_ = CreateEventW(nullptr, TRUE, FALSE, tag.c_str());
        sampled_ = CreateEventW(nullptr, TRUE, FALSE, (tag + L"-sampled").c_str());
        KernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, (tag + L"-ready").c_str()));
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        file_ = std::wstring(temp) + tag + L".txt";
        std::wstring command = L"\"" + OwnPath() + L"\" --watch-hung " +
                               std::to_wstring(reinterpret_cast<UINT_PTR>(window)) + L" " + tag + L" \"" + file_ + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
            process_ = info.hProcess;
            CloseHandle(info.hThread);
            started_ = WaitForSingleObject(ready.Get(), 60000) == WAIT_OBJECT_0;
        }
    }
    ~HungWatcher() {
        Stop();
        if (stop_) CloseHandle(stop_);
        if (sampled_) CloseHandle(sampled_);
    }
    HungWatcher(const HungWatcher&) = delete;
    HungWatcher& operator=(const HungWatcher&) = delete;
    bool Started() const { return started_; }
    bool AwaitSample() {
        ResetEvent(sampled_);
        return WaitFor([&] { return WaitForSingleObject(sampled_, 0) == WAIT_OBJECT_0; }, 30000,
                       "a sample of the hung-window watcher");
    }

    struct Result {
        int samples = -1;
        int hung = -1;
    };
    Result Stop() {
        if (process_) {
            SetEvent(stop_);
            WaitForSingleObject(process_, 30000);
            CloseHandle(process_);
            process_ = nullptr;
            if (FILE* in = _wfopen(file_.c_str(), L"r")) {
                if (std::fscanf(in, "%d %d", &result_.samples, &result_.hung) != 2) result_ = Result{};
                std::fclose(in);
            }
            DeleteFileW(file_.c_str());
        }
        return result_;
    }

private:
    HANDLE stop_ = nullptr;
    HANDLE sampled_ = nullptr;
    HANDLE process_ = nullptr;
    std::wstring file_;
    bool started_ = false;
    Result result_;
};

std::wstring InternalText(HWND window) {
    wchar_t text[64] = {};
    InternalGetWindowText(window, text, 64);
    return text;
}

// Waits until the button reads the caption (read without a message, so from another thread
// while the window's own is busy); a failure of the test after timeout ms.
bool WaitForCaption(HWND button, const wchar_t* caption, DWORD timeout) {
    return WaitFor([&] { return InternalText(button) == caption; }, timeout,
                   "the start button to read " + robust::Narrow(caption));
}

class LongOps : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (HasFatalFailure()) return;
        ClickRowCheckBox(Item(kIdTypeList), 1);  // *.tmp
    }
};

}  // namespace

// A scan of a folder that forks through two links to itself at every level never ends on its
// own. Nothing is clicked for 15 s; then another thread sends a close, which the walk answers
// (it retrieves messages: within 5 s, or the window would be hung), and the scan ends with the
// window. How fast the window answers is the benchmarks' to measure.
TEST_F(LongOps, ScanOfFifteenSecondsWithoutInputIsNeverHung) {
    NEED_FIXTURE(fork, L"fork");
    // Walked as on a file system that gives no file IDs, the fork never ends by itself.
    Main().Lister().SetFolderIdentities(false);
    SetWindowTextW(Item(kIdPathBox), fork.c_str());
    HungWatcher watcher(window_);
    ASSERT_TRUE(watcher.Started());
    HWND start = Item(kIdScanButton);
    HWND window = window_;
    HWND list = Item(kIdResultList);
    std::atomic<DWORD> scanStart{0}, answered{0};
    std::atomic<LRESULT> sent{0};
    std::atomic<DWORD_PTR> rows{0};
    std::thread closer([&] {
        if (!WaitForCaption(start, text::kStopCaption, 30000)) return;
        scanStart = GetTickCount();
        Sleep(15000);
        DWORD_PTR result = 0;
        // The rows shown so far (the window goes with the close).
        if (SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &result)) rows = result;
        const DWORD before = GetTickCount();
        sent = SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &result);
        answered = GetTickCount() - before;
    });
    ClickFlat(start);
    const DWORD scanEnd = GetTickCount();
    closer.join();
    WaitFor([&] { return !IsWindow(window_); }, 5000, "the window to go after the close");
    const HungWatcher::Result seen = watcher.Stop();

    EXPECT_NE(sent.load(), 0) << "the close sent from another thread was not answered within 5 s";
    EXPECT_GE(scanEnd - scanStart, 15000u);
    EXPECT_GT(rows.load(), 0u);
    // The watcher looked every 0.5 s: at least one look for every 2 s of the scan, however busy the host.
    EXPECT_GE(seen.samples, static_cast<int>((scanEnd - scanStart) / 2000));
    EXPECT_EQ(seen.hung, 0) << "of " << seen.samples << " samples";
    EXPECT_FALSE(IsWindow(window_)) << "the close asked during the scan was not carried out";
    std::printf("scan of %u ms without input: %d samples, %d hung, %u rows; close answered in %u ms\n",
                static_cast<unsigned>(scanEnd - scanStart), seen.samples, seen.hung, static_cast<unsigned>(rows.load()),
                static_cast<unsigned>(answered.load()));
}

// A real click on "停止" 12 s into a scan ends it: the caption reads "开始扫描" again, within 5 s
// (a bound only a hang misses: how fast is B5's figure).
TEST_F(LongOps, StopClickTwelveSecondsIntoAScanEndsIt) {
    NEED_FIXTURE(fork, L"fork");
    // Walked as on a file system that gives no file IDs, the fork never ends by itself.
    Main().Lister().SetFolderIdentities(false);
    SetWindowTextW(Item(kIdPathBox), fork.c_str());
    HWND start = Item(kIdScanButton);
    std::atomic<DWORD> clicked{0}, ended{0};
    std::thread clicker([&] {
        if (!WaitForCaption(start, text::kStopCaption, 30000)) return;
        Sleep(12000);
        clicked = GetTickCount();
        SendRealClick(start);
        if (WaitForCaption(start, text::kStartScanCaption, 5000)) ended = GetTickCount();
        else PostMessageW(GetParent(start), WM_CLOSE, 0, 0);  // the test has failed: end the endless scan
    });
    ClickFlat(start);
    clicker.join();
    ASSERT_NE(clicked.load(), 0u);
    ASSERT_NE(ended.load(), 0u) << "the scan did not end";
    EXPECT_LE(ended - clicked, 5000u);
    EXPECT_TRUE(Main().Scan().stopRequested);
    EXPECT_EQ(Text(Item(kIdResultCaption)).rfind(L"扫描结果： 扫描到的文件共有： " + std::to_wstring(Main().Results().Count()) + L"个；", 0),
              0u);
    std::printf("stop click 12 s into the scan: report %u ms later, %zu rows\n",
                static_cast<unsigned>(ended - clicked), Main().Results().Count());
}

// What a screen reader's press and the taskbar's close post, with no input beside them: a
// BM_CLICK on "停止" ends the scan within 0.5 s, and a WM_SYSCOMMAND with SC_CLOSE ends it and
// the window within 1 s (both from the post to the closing texts or the window's end).
TEST_F(LongOps, PostedStopAndCloseActDuringAScanInTime) {
    NEED_FIXTURE(fork, L"fork");
    // Walked as on a file system that gives no file IDs, the fork never ends by itself.
    Main().Lister().SetFolderIdentities(false);
    SetWindowTextW(Item(kIdPathBox), fork.c_str());
    HWND start = Item(kIdScanButton);
    HWND window = window_;
    HWND report = Item(kIdResultCaption);
    std::atomic<DWORD> posted{0}, ended{0};
    std::thread presser([&] {
        if (!WaitForCaption(start, text::kStopCaption, 30000)) return;
        Sleep(1000);
        posted = GetTickCount();
        PostMessageW(start, BM_CLICK, 0, 0);
        if (WaitFor([&] { return InternalText(start) == text::kStartScanCaption &&
                                 InternalText(report).rfind(L"扫描结果： 扫描到的文件共有：", 0) == 0; },
                    5000, "the report after the posted stop"))
            ended = GetTickCount();
        else SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr);  // failed: end the scan
    });
    ClickFlat(start);
    presser.join();
    ASSERT_NE(posted.load(), 0u);
    ASSERT_NE(ended.load(), 0u) << "the posted stop did not end the scan";
    EXPECT_LE(ended - posted, 500u);
    EXPECT_TRUE(Main().Scan().stopRequested);
    const DWORD stopTook = ended - posted;

    posted = 0;
    std::atomic<DWORD> gone{0};
    std::thread closer([&] {
        if (!WaitForCaption(start, text::kStopCaption, 30000)) return;
        Sleep(1000);
        posted = GetTickCount();
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (WaitFor([&] { return !IsWindow(window); }, 5000, "the window to go after the posted close"))
            gone = GetTickCount();
        else SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr);  // failed: end the scan
    });
    ClickFlat(start);  // returns when the walk has stopped; the close itself is posted again
    WaitFor([&] { return !IsWindow(window_); }, 5000, "the window to go after the posted close");
    closer.join();
    ASSERT_NE(posted.load(), 0u);
    ASSERT_NE(gone.load(), 0u) << "the posted close did not end the window";
    EXPECT_LE(gone - posted, 1000u);
    EXPECT_TRUE(TakeQuit()) << "the program's loop is told to end";
    std::printf("posted stop: report %u ms after the post; posted close: window gone %u ms after it\n",
                static_cast<unsigned>(stopTook), static_cast<unsigned>(gone - posted));
}

// One folder of 200,000 files and no subfolder: the walk looks at its queue only on entering a
// folder, so a real click on "停止" made while it lists waits until the listing ends. It is still
// a stop: the scan ends with its rows, and no second scan follows to empty the list again.
TEST_F(LongOps, AStopClickWhileOneCrowdedFolderIsListedIsAStopNotANewScan) {
    NEED_FIXTURE(crowded, L"crowded");
    SetWindowTextW(Item(kIdPathBox), crowded.c_str());
    HWND start = Item(kIdScanButton);
    HWND list = Item(kIdResultList);
    std::atomic<bool> clickedWhileScanning{false};
    std::atomic<DWORD> clicked{0};
    std::thread clicker([&] {
        if (!WaitForCaption(start, text::kStopCaption, 30000)) return;
        // Rows are being listed: the walk is inside the crowded folder.
        if (!WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; }, 30000, "the first rows"))
            return;
        SendRealClick(start);
        clicked = GetTickCount();
        clickedWhileScanning = InternalText(start) == text::kStopCaption;
    });
    ClickFlat(start);
    const DWORD ended = GetTickCount();
    clicker.join();
    ASSERT_TRUE(clickedWhileScanning.load()) << "the scan ended before the click: the folder is listed too fast";
    const std::size_t rows = Main().Results().Count();
    const std::wstring report = Text(Item(kIdResultCaption));
    EXPECT_TRUE(Main().Scan().stopRequested) << "the click was not taken as a stop";
    EXPECT_EQ(rows, 200000u);  // a stop does not cut a listing short
    EXPECT_EQ(report.rfind(L"扫描结果： 扫描到的文件共有： 200000个；", 0), 0u) << robust::Narrow(report);
    EXPECT_EQ(InternalText(start), text::kStartScanCaption);

    // Nothing left in the queue starts another scan: three seconds of handling whatever comes
    // (an observation window, not a wait for an event).
    Pump(3000);
    EXPECT_TRUE(Main().Scan().stopRequested) << "a second scan ran";
    EXPECT_EQ(Text(Item(kIdResultCaption)), report);
    EXPECT_EQ(Main().Results().Count(), rows);
    EXPECT_EQ(InternalText(start), text::kStartScanCaption);
    std::printf("stop click in a folder of 200,000 files: scan ended %u ms after the click\n",
                static_cast<unsigned>(ended - clicked));
}

// Also: Tab and Shift+Tab, real keys waiting when a pass begins (the pass takes a few tens of
// milliseconds, too short to type into from another thread), are handled by the pass's own loop
// and move the focus, as they do when the window is idle. The passes are started by BM_CLICK,
// so that no other loop (the flat button's pointer move, the test's) runs before them.
TEST_F(LongOps, SelectAllOverTwoHundredThousandRowsIsNeverHungAndTabMovesTheFocus) {
    NEED_FIXTURE(crowded, L"crowded");  // 200,000 files in one folder
    SetWindowTextW(Item(kIdPathBox), crowded.c_str());
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(Main().Results().Count(), 200000u);
    HungWatcher watcher(window_);
    ASSERT_TRUE(watcher.Started());
    // A real key, waiting in this thread's queue (looked at without taking anything from it).
    auto keyWaiting = [](WORD key, bool shifted) {
        robust::RealKey(key, shifted);
        const DWORD start = GetTickCount();
        while (HIWORD(GetQueueStatus(QS_KEY)) == 0 && GetTickCount() - start < 2000) Sleep(1);
        return HIWORD(GetQueueStatus(QS_KEY)) != 0;
    };
    SetFocus(Item(kIdResultList));
    const HWND before = GetFocus();
    ASSERT_TRUE(keyWaiting(VK_TAB, false));
    const DWORD started = GetTickCount();
    SendMessageW(Item(kIdCheckAllResultsButton), BM_CLICK, 0, 0);
    const DWORD took = GetTickCount() - started;
    EXPECT_EQ(GetFocus(), Item(kIdTypeList)) << "Tab during the pass";
    ASSERT_TRUE(keyWaiting(VK_TAB, true));
    SendMessageW(Item(kIdCheckNoResultsButton), BM_CLICK, 0, 0);
    EXPECT_EQ(GetFocus(), before) << "Shift+Tab during the pass";
    SendMessageW(Item(kIdCheckAllResultsButton), BM_CLICK, 0, 0);
    watcher.AwaitSample();  // one look after the pass at least
    const HungWatcher::Result seen = watcher.Stop();
    std::size_t checked = 0;
    for (std::size_t i = 0; i < Main().Results().Count(); ++i) checked += Main().Results().Checked(i);
    EXPECT_EQ(checked, 200000u);
    EXPECT_TRUE(RowChecked(Item(kIdResultList), 199999));
    EXPECT_GE(seen.samples, 1);
    EXPECT_EQ(seen.hung, 0) << "of " << seen.samples << " samples";
    std::printf("select-all over 200,000 rows: %u ms, %d samples, %d hung\n", static_cast<unsigned>(took),
                seen.samples, seen.hung);
}

// 6,000 files into the Recycle Bin. The window answers other threads throughout (this thread
// reads the status bar through them) and shows the path being sent.
TEST_F(LongOps, DeleteOfSixThousandFilesIntoTheRecycleBinIsNeverHung) {
    ASSERT_FALSE(robust::TrashFiles().empty()) << "the trash is found under Wine only";
    TempTree tree;
    const std::wstring prefix = L"qvlong" + std::to_wstring(GetTickCount()) + L"_";
    const int files = 6000;
    for (int i = 0; i < files; ++i) tree.File(prefix + std::to_wstring(i) + L".tmp", 1);
    SetWindowTextW(Item(kIdPathBox), tree.Root().c_str());
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(Main().Results().Count(), static_cast<std::size_t>(files));
    ClickFlat(Item(kIdCheckAllResultsButton));

    HungWatcher watcher(window_);
    ASSERT_TRUE(watcher.Started());
    HWND status = Item(kIdStatusBar);
    std::atomic<bool> done{false};
    std::atomic<int> progressSeen{0}, answers{0};
    std::thread reader([&] {
        while (!done) {
            // SB_GETTEXTW takes no buffer size, and the text may grow between a length asked
            // and the text read (each is answered at another keep-alive): the buffer holds the
            // longest text the bar can show, a path of 32767 characters and its prefix.
            DWORD_PTR result = 0;
            std::wstring text(32768 + 64, L'\0');
            if (SendMessageTimeoutW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 2000,
                                    &result)) {
                ++answers;
                text.resize(std::wcslen(text.c_str()));
                if (text.rfind(L"正在删除：" + tree.Root() + prefix, 0) == 0) ++progressSeen;
            }
            Sleep(100);
        }
    });
    qorvani::drive::DeleteAnswerer no(IDNO);
    const DWORD before = GetTickCount();
    ClickFlat(Item(kIdDeleteButton));
    const DWORD took = GetTickCount() - before;
    no.Stop();
    done = true;
    reader.join();
    const HungWatcher::Result seen = watcher.Stop();

    EXPECT_EQ(no.Questions(), 1);
    EXPECT_EQ(Main().Results().Count(), 0u);
    EXPECT_EQ(StatusText(status), L"删除文件 6000个 ");
    EXPECT_EQ(Text(Item(kIdResultCaption)), L"扫描结果： 剩余的文件共有： 0个");
    EXPECT_GE(seen.samples, 1);
    EXPECT_EQ(seen.hung, 0) << "of " << seen.samples << " samples";
    if (took > 2000) EXPECT_GT(progressSeen.load(), 0) << "no path shown during the delete";
    std::printf("delete of %d files into the Recycle Bin: %u ms, %d samples, %d hung, %d status reads, %d showing a path\n",
                files, static_cast<unsigned>(took), seen.samples, seen.hung, answers.load(), progressSeen.load());
    // Every file went to the Recycle Bin.
    std::size_t trashed = 0;
    for (const auto& item : robust::TrashContents()) trashed += robust::TrashBaseName(item.first).rfind(prefix, 0) == 0;
    EXPECT_EQ(trashed, static_cast<std::size_t>(files));
    std::vector<std::wstring> names;
    for (int i = 0; i < files; ++i) names.push_back(prefix + std::to_wstring(i) + L".tmp");
    robust::RemoveFromTrash(names);
}

// 1,000 checked rows of which all but 10 were removed by other means before "是", in a folder
// that also holds 20,000 files no mask lists: each row not sent costs a look-up that searches the
// whole folder for another spelling of its name, several seconds in all. The window is never
// judged hung meanwhile.
TEST_F(LongOps, DeleteOfAThousandRowsMostlyGoneIsNeverHung) {
    NEED_FIXTURE(folder, L"mostlygone");
    const int rows = 1000, left = 10;
    auto rowPath = [&](int i) {
        wchar_t name[32];
        std::swprintf(name, 32, L"row%04d.tmp", i);
        return folder + name;
    };
    SetWindowTextW(Item(kIdPathBox), folder.c_str());
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(Main().Results().Count(), static_cast<std::size_t>(rows)) << "the tree was used before";
    ClickFlat(Item(kIdCheckAllResultsButton));
    for (int i = left; i < rows; ++i) ASSERT_TRUE(DeleteFileW(rowPath(i).c_str()));

    HungWatcher watcher(window_);
    ASSERT_TRUE(watcher.Started());
    qorvani::drive::DeleteAnswerer yes(IDYES);
    const DWORD before = GetTickCount();
    ClickFlat(Item(kIdDeleteButton));
    const DWORD took = GetTickCount() - before;
    yes.Stop();
    EXPECT_EQ(yes.Questions(), 1);
    watcher.AwaitSample();  // one look after the command at least
    const HungWatcher::Result seen = watcher.Stop();

    EXPECT_EQ(Main().Results().Count(), 0u);
    EXPECT_EQ(StatusText(Item(kIdStatusBar)), L"删除文件 1000个 ");
    for (int i = 0; i < left; ++i) EXPECT_EQ(GetFileAttributesW(rowPath(i).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_GE(seen.samples, 1);
    EXPECT_EQ(seen.hung, 0) << "of " << seen.samples << " samples";
    std::printf("delete of %d rows, %d of them already gone, beside 20,000 other files: %u ms, %d samples, %d hung\n",
                rows, rows - left, static_cast<unsigned>(took), seen.samples, seen.hung);
}
