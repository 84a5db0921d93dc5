// Scans in the real window, over real folders made for the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

#include "WinTestSupport.h"
#include "app/core/Layout.h"
#include "app/win32/MainWindow.h"
#include "scan/core/ScanCommand.h"

using namespace qorvani;
using namespace wintest;

namespace {

const wchar_t kCompletion[] = L"扫描完成！请选中您认为需要删除的文件，然后点击“清除选中项目”删除选中的文件！";

class ScanWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = MainWindow::Create(GetModuleHandleW(nullptr), SW_SHOW);
        ASSERT_NE(window_, nullptr);
        SetForegroundWindow(window_);
        Pump(50);
    }
    void TearDown() override {
        if (IsWindow(window_)) DestroyWindow(window_);
        TakeQuit();
    }
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    MainWindow& Main() const { return *MainWindow::FromHandle(window_); }
    void CheckTypes(std::initializer_list<int> rows) {
        for (int row : rows) ClickRowCheckBox(Item(kIdList2), row);
    }
    std::set<std::wstring> Rows() {
        std::set<std::wstring> rows;
        for (int i = 0; i < RowCount(Item(kIdList1)); ++i)
            rows.insert(RowText(Item(kIdList1), i) + L"|" + RowText(Item(kIdList1), i, 1));
        return rows;
    }
    // A flat-button caption read without sending a message, so another thread can watch it.
    static std::wstring InternalText(HWND window) {
        wchar_t text[64] = {};
        InternalGetWindowText(window, text, 64);
        return text;
    }

    HWND window_ = nullptr;
};

TEST_F(ScanWindowTest, ScanListsExactlyTheMatchingFilesWithSizesAndReport) {
    TempTree tree;
    tree.File(L"a.tmp", 0);
    tree.File(L"B.Bak", 103);
    tree.Folder(L"sub");
    tree.File(L"sub\\c.tmp", 1536);
    tree.File(L"sub\\keep.txt", 50);
    tree.Folder(L"OLD.BAK");
    tree.File(L"OLD.BAK\\d.old", 1024);
    tree.File(L"~lock", 5);
    tree.File(L"notes.tmpx", 5);
    tree.Folder(L"empty");
    CheckTypes({1, 3, 9});  // *.tmp, *.bak, *.old

    std::wstring root = tree.Root();
    root.pop_back();  // typed without the final "\": the scan adds it, the box keeps its text
    SetWindowTextW(Item(kIdText1), root.c_str());
    ClickFlat(Item(kIdFlatCommand6));

    const std::wstring r = tree.Root();
    const std::set<std::wstring> expected = {
        r + L"A.TMP| 0(字节)", r + L"B.BAK| 0.1", r + L"sub\\C.TMP| 1.5", r + L"OLD.BAK\\D.OLD| 1"};
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(Text(Item(kIdText1)), root);

    // The exact paths are kept beside the display texts.
    std::set<std::wstring> exact;
    for (std::size_t i = 0; i < Main().Results().Count(); ++i) exact.insert(Main().Results().ExactPath(i));
    EXPECT_EQ(exact, (std::set<std::wstring>{r + L"a.tmp", r + L"B.Bak", r + L"sub\\c.tmp", r + L"OLD.BAK\\d.old"}));

    const std::wstring report = Text(Item(kIdLabel1));
    EXPECT_EQ(report.rfind(L"扫描结果： 扫描到的文件共有： 4个； 占用空间： 0 MB ；用时： ", 0), 0u) << report;
    EXPECT_EQ(report.back(), L'秒');
    EXPECT_EQ(Main().Scan().totalBytes, 0u + 103 + 1536 + 1024);
    EXPECT_EQ(StatusText(Item(kIdStatusBar1)), kCompletion);
    EXPECT_EQ(Text(Item(kIdFlatCommand6)), kStartScanCaption);
    for (int id : {kIdList1, kIdList2, kIdFlatCommand1, kIdFlatCommand2, kIdFlatCommand3, kIdFlatCommand4_0,
                   kIdFlatCommand4_1, kIdFlatCommand4_2, kIdFlatCommand4_3, kIdFlatCommand7, kIdCheck1, kIdText1})
        EXPECT_TRUE(IsWindowEnabled(Item(id))) << id;

    // A second scan starts from an empty list.
    ClickFlat(Item(kIdFlatCommand6));
    EXPECT_EQ(Rows(), expected);
}

TEST_F(ScanWindowTest, NoCheckedTypeFindsNothingAndAnEmptyPathWalksNothing) {
    TempTree tree;
    tree.File(L"a.tmp", 10);
    SetWindowTextW(Item(kIdText1), tree.Root().c_str());
    ClickFlat(Item(kIdFlatCommand6));
    EXPECT_EQ(RowCount(Item(kIdList1)), 0);
    EXPECT_EQ(Text(Item(kIdLabel1)).rfind(L"扫描结果： 扫描到的文件共有： 0个； 占用空间： 0 MB ；", 0), 0u);

    // An empty path box: no root at all, never the current folder.
    CheckTypes({1});
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(tree.Root().c_str());
    SetWindowTextW(Item(kIdText1), L"");
    ClickFlat(Item(kIdFlatCommand6));
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(RowCount(Item(kIdList1)), 0);
    EXPECT_EQ(Text(Item(kIdLabel1)).rfind(L"扫描结果： 扫描到的文件共有： 0个；", 0), 0u);
}

TEST_F(ScanWindowTest, ATypedRelativePathScansTheFolderItNamesAndRowsAreFullPaths) {
    TempTree tree;
    tree.Folder(L"rel");
    tree.File(L"rel\\a.tmp", 10);
    tree.File(L"b.tmp", 10);  // in the current folder, not under rel
    CheckTypes({1});
    struct CurrentFolder {
        wchar_t previous[MAX_PATH] = {};
        explicit CurrentFolder(const std::wstring& folder) {
            GetCurrentDirectoryW(MAX_PATH, previous);
            SetCurrentDirectoryW(folder.c_str());
        }
        ~CurrentFolder() { SetCurrentDirectoryW(previous); }
    } current(tree.Root());

    const std::wstring& r = tree.Root();
    const std::wstring drive = r.substr(0, 2);      // "C:"
    const std::wstring fromRoot = r.substr(2);      // "\users\...\qvt..\"
    // Relative to the current folder, drive-relative, relative to the drive's root, with dots.
    for (const std::wstring& typed : {std::wstring(L"rel"), std::wstring(L".\\rel\\"), drive + L"rel",
                                      fromRoot + L"rel", std::wstring(L"none\\..\\rel")}) {
        SetWindowTextW(Item(kIdText1), typed.c_str());
        ClickFlat(Item(kIdFlatCommand6));
        ASSERT_EQ(Main().Results().Count(), 1u) << typed;
        EXPECT_EQ(Main().Results().ExactPath(0), r + L"rel\\a.tmp") << typed;
        EXPECT_EQ(RowText(Item(kIdList1), 0), r + L"rel\\A.TMP") << typed;
        EXPECT_EQ(Text(Item(kIdText1)), typed);  // the box keeps what was typed
    }
    SetWindowTextW(Item(kIdText1), L".");
    ClickFlat(Item(kIdFlatCommand6));
    EXPECT_EQ(Rows(), (std::set<std::wstring>{r + L"B.TMP| 10(字节)", r + L"rel\\A.TMP| 10(字节)"}));
}

TEST_F(ScanWindowTest, ClickHandledBeforeTheWalkStopsIt) {
    TempTree tree;
    tree.File(L"a.tmp", 10);
    CheckTypes({1});
    SetWindowTextW(Item(kIdText1), tree.Root().c_str());
    HWND start = Item(kIdFlatCommand6);
    RECT rc;
    GetClientRect(start, &rc);
    const LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 2);
    SendMessageW(start, WM_MOUSEMOVE, 0, at);
    // A second click waits in the queue; the scan lets it run before its walk, as a stop.
    PostClickFlat(start);
    SendMessageW(start, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(start, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(RowCount(Item(kIdList1)), 0);
    EXPECT_EQ(Text(Item(kIdLabel1)).rfind(L"扫描结果： 扫描到的文件共有： 0个； 占用空间： 0 MB ；", 0), 0u);
    EXPECT_EQ(Text(start), kStartScanCaption);
    EXPECT_TRUE(Main().Scan().stopRequested);
}

// A selection pass lets waiting messages run after its first row: a click posted before the
// pass runs there, nested. "← 全否" then clears every row, and "← 全选" goes on from row 1.
TEST_F(ScanWindowTest, ClickWaitingBeforeASelectionPassRunsAtItsFirstRow) {
    TempTree tree;
    for (int i = 0; i < 300; ++i) tree.File(L"f" + std::to_wstring(i) + L".tmp", 1);
    CheckTypes({1});
    SetWindowTextW(Item(kIdText1), tree.Root().c_str());
    ClickFlat(Item(kIdFlatCommand6));
    ASSERT_EQ(Main().Results().Count(), 300u);
    PostClickFlat(Item(kIdFlatCommand4_1));
    ClickFlat(Item(kIdFlatCommand4_0));
    EXPECT_FALSE(Main().Results().Checked(0));
    for (std::size_t i = 1; i < 300; ++i) ASSERT_TRUE(Main().Results().Checked(i)) << i;
    EXPECT_FALSE(RowChecked(Item(kIdList1), 0));
    EXPECT_TRUE(RowChecked(Item(kIdList1), 299));
}

TEST_F(ScanWindowTest, RealStopClickDuringTheWalkEndsTheScanEarly) {
    TempTree tree;
    const int folders = 4000;
    for (int i = 0; i < folders; ++i) {
        tree.Folder(L"f" + std::to_wstring(i));
        tree.File(L"f" + std::to_wstring(i) + L"\\x.tmp", 1);
    }
    CheckTypes({1});
    SetWindowTextW(Item(kIdText1), tree.Root().c_str());
    HWND start = Item(kIdFlatCommand6);
    std::thread clicker([start] {
        for (int i = 0; i < 2000 && InternalText(start) != kStopCaption; ++i) Sleep(1);
        Sleep(10);
        SendRealClick(start);
    });
    ClickFlat(start);
    clicker.join();
    const int found = RowCount(Item(kIdList1));
    EXPECT_LT(found, folders);
    EXPECT_EQ(Text(start), kStartScanCaption);
    EXPECT_EQ(StatusText(Item(kIdStatusBar1)), kCompletion);
    EXPECT_EQ(Text(Item(kIdLabel1)).rfind(L"扫描结果： 扫描到的文件共有： " + std::to_wstring(found) + L"个；", 0), 0u);
    EXPECT_TRUE(IsWindowEnabled(Item(kIdFlatCommand3)));
}

TEST_F(ScanWindowTest, ClosingTheWindowDuringAScanEndsTheProgramCleanly) {
    TempTree tree;
    for (int i = 0; i < 4000; ++i) {
        tree.Folder(L"f" + std::to_wstring(i));
        tree.File(L"f" + std::to_wstring(i) + L"\\x.tmp", 1);
    }
    CheckTypes({1});
    SetWindowTextW(Item(kIdText1), tree.Root().c_str());
    HWND start = Item(kIdFlatCommand6);
    HWND window = window_;
    std::thread closer([start, window] {
        for (int i = 0; i < 2000 && InternalText(start) != kStopCaption; ++i) Sleep(1);
        Sleep(10);
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        // Real input, so that the walk looks at its queue at the next folder.
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dwFlags = MOUSEEVENTF_MOVE;
        move.mi.dx = 1;
        SendInput(1, &move, sizeof(move));
    });
    ClickFlat(start);
    closer.join();
    Pump(100);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(TakeQuit());
}

}  // namespace
