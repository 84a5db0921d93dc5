// Scans in the real window, over real folders made for the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>
#include <thread>

#include "WinTestSupport.h"
#include "app/core/Layout.h"
#include "app/win32/MainWindow.h"
#include "scan/core/ScanCommand.h"
#include "scan/win32/Win32Lister.h"

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

std::wstring SystemPath(UINT(WINAPI* get)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = get(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) + L"\\" : std::wstring();
}

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

bool PutFile(const std::wstring& path, std::size_t size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const std::string bytes(size, 'x');
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(size), &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

// A junk file planted in the real System32 (1111 bytes) and one in SysWOW64 (2222 bytes). The
// 32-bit program on 64-bit Windows lists SysWOW64's under its own name, once, and nothing under
// the System32 name, where it would see SysWOW64's files again; a 64-bit program, or any program
// on 32-bit Windows, lists each folder truly. The test reaches the real System32 from a 32-bit
// program by turning redirection off on its own thread for the planting only.
TEST_F(ScanWindowTest, SystemFoldersListOnlyTheirOwnFilesUnderTheirTrueNames) {
    const std::wstring windows = SystemPath(GetSystemWindowsDirectoryW);
    const std::wstring system = SystemPath(GetSystemDirectoryW);
    const std::wstring wow = SystemPath(GetSystemWow64DirectoryW);  // none on 32-bit Windows
    ASSERT_FALSE(windows.empty());
    ASSERT_FALSE(system.empty());
    const bool wow64 = RunsUnderWow64();
    const std::wstring name = L"qorvani-planted.tmp";
    auto inRealSystem32 = [&](auto action) {
        PVOID redirection = nullptr;
        if (wow64) ASSERT_TRUE(Wow64DisableWow64FsRedirection(&redirection));
        action();
        if (wow64) Wow64RevertWow64FsRedirection(redirection);
    };
    inRealSystem32([&] { ASSERT_TRUE(PutFile(system + name, 1111)); });
    if (!wow.empty()) ASSERT_TRUE(PutFile(wow + name, 2222));
    CheckTypes({1});  // *.tmp

    std::map<std::wstring, std::wstring> expected;  // upper-cased exact path -> size text
    if (!wow64) expected[Upper(system + name)] = L" 1";
    if (!wow.empty()) expected[Upper(wow + name)] = L" 2.1";
    auto plantedRows = [&] {
        std::map<std::wstring, std::wstring> rows;
        for (std::size_t i = 0; i < Main().Results().Count(); ++i) {
            if (Upper(Main().Results().Name(i)) != Upper(name)) continue;
            const auto [at, added] = rows.emplace(Upper(Main().Results().ExactPath(i)), Main().Results().SizeText(i));
            EXPECT_TRUE(added) << "listed twice";
        }
        return rows;
    };
    auto rowsUnder = [&](const std::wstring& folder) {
        std::size_t count = 0;
        for (std::size_t i = 0; i < Main().Results().Count(); ++i)
            count += Upper(Main().Results().ExactPath(i)).rfind(Upper(folder), 0) == 0;
        return count;
    };

    SetWindowTextW(Item(kIdText1), windows.c_str());
    ClickFlat(Item(kIdFlatCommand6));
    EXPECT_EQ(plantedRows(), expected);
    if (wow64) EXPECT_EQ(rowsUnder(system), 0u);  // so no redirected path can reach the shell

    // System32 typed as the root: under WoW64 it is passed over like a folder that cannot be listed.
    SetWindowTextW(Item(kIdText1), system.c_str());
    ClickFlat(Item(kIdFlatCommand6));
    if (wow64) {
        EXPECT_EQ(Main().Results().Count(), 0u);
    } else {
        EXPECT_EQ(plantedRows(), (std::map<std::wstring, std::wstring>{{Upper(system + name), L" 1"}}));
    }
    std::printf("%s: %zu rows under the windows folder's system folder\n", wow64 ? "WoW64" : "native",
                rowsUnder(system));

    inRealSystem32([&] { EXPECT_TRUE(DeleteFileW((system + name).c_str())); });
    if (!wow.empty()) EXPECT_TRUE(DeleteFileW((wow + name).c_str()));
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
