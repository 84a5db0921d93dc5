// Scans in the real window, over real folders made for the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <thread>

#include "RobustSupport.h"
#include "MainWindowFixture.h"
#include "WinTestSupport.h"
#include "app/core/Layout.h"
#include "app/win32/MainWindow.h"
#include "common/core/Texts.h"
#include "scan/core/ScanCommand.h"
#include "scan/win32/Win32Lister.h"

using namespace qorvani;
using namespace wintest;

namespace {

const wchar_t kCompletion[] = L"扫描完成！请选中您认为需要删除的文件，然后点击“清除选中项目”删除选中的文件！";

class ScanWindowTest : public MainWindowFixture {
protected:
    void CheckTypes(std::initializer_list<int> rows) {
        for (int row : rows) ClickRowCheckBox(Item(kIdTypeList), row);
    }
    std::set<std::wstring> Rows() {
        std::set<std::wstring> rows;
        for (int i = 0; i < RowCount(Item(kIdResultList)); ++i)
            rows.insert(RowText(Item(kIdResultList), i) + L"|" + RowText(Item(kIdResultList), i, 1));
        return rows;
    }
    // A flat-button caption read without sending a message, so another thread can watch it.
    static std::wstring InternalText(HWND window) {
        wchar_t text[64] = {};
        InternalGetWindowText(window, text, 64);
        return text;
    }

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
    SetWindowTextW(Item(kIdPathBox), root.c_str());
    ClickFlat(Item(kIdScanButton));

    const std::wstring r = tree.Root();
    const std::set<std::wstring> expected = {
        r + L"A.TMP| 0(字节)", r + L"B.BAK| 0.1", r + L"sub\\C.TMP| 1.5", r + L"OLD.BAK\\D.OLD| 1"};
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(Text(Item(kIdPathBox)), root);

    // The exact paths are kept beside the display texts.
    std::set<std::wstring> exact;
    for (std::size_t i = 0; i < Main().Results().Count(); ++i) exact.insert(Main().Results().ExactPath(i));
    EXPECT_EQ(exact, (std::set<std::wstring>{r + L"a.tmp", r + L"B.Bak", r + L"sub\\c.tmp", r + L"OLD.BAK\\d.old"}));

    const std::wstring report = Text(Item(kIdResultCaption));
    EXPECT_EQ(report.rfind(L"扫描结果： 扫描到的文件共有： 4个； 占用空间： 0 MB ；用时： ", 0), 0u) << report;
    EXPECT_EQ(report.back(), L'秒');
    EXPECT_EQ(Main().Scan().totalBytes, 0u + 103 + 1536 + 1024);
    EXPECT_EQ(StatusText(Item(kIdStatusBar)), kCompletion);
    EXPECT_EQ(Text(Item(kIdScanButton)), text::kStartScanCaption);
    for (int id : {kIdResultList, kIdTypeList, kIdDeleteButton, kIdAboutButton, kIdExitButton, kIdCheckAllResultsButton,
                   kIdCheckNoResultsButton, kIdCheckAllTypesButton, kIdCheckNoTypesButton, kIdBrowseButton, kIdAllDrivesBox, kIdPathBox})
        EXPECT_TRUE(IsWindowEnabled(Item(id))) << id;

    // A second scan starts from an empty list.
    ClickFlat(Item(kIdScanButton));
    EXPECT_EQ(Rows(), expected);
}

std::wstring SystemPath(UINT(WINAPI* get)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = get(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) + L"\\" : std::wstring();
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
    if (!wow64) expected[robust::Upper(system + name)] = L" 1";
    if (!wow.empty()) expected[robust::Upper(wow + name)] = L" 2.1";
    auto plantedRows = [&] {
        std::map<std::wstring, std::wstring> rows;
        for (std::size_t i = 0; i < Main().Results().Count(); ++i) {
            if (robust::Upper(Main().Results().Name(i)) != robust::Upper(name)) continue;
            const auto [at, added] = rows.emplace(robust::Upper(Main().Results().ExactPath(i)), Main().Results().SizeText(i));
            EXPECT_TRUE(added) << "listed twice";
        }
        return rows;
    };
    auto rowsUnder = [&](const std::wstring& folder) {
        std::size_t count = 0;
        for (std::size_t i = 0; i < Main().Results().Count(); ++i)
            count += robust::Upper(Main().Results().ExactPath(i)).rfind(robust::Upper(folder), 0) == 0;
        return count;
    };

    SetWindowTextW(Item(kIdPathBox), windows.c_str());
    ClickFlat(Item(kIdScanButton));
    EXPECT_EQ(plantedRows(), expected);
    if (wow64) EXPECT_EQ(rowsUnder(system), 0u);  // so no redirected path can reach the shell

    // System32 typed as the root: under WoW64 it is passed over like a folder that cannot be listed.
    SetWindowTextW(Item(kIdPathBox), system.c_str());
    ClickFlat(Item(kIdScanButton));
    if (wow64) {
        EXPECT_EQ(Main().Results().Count(), 0u);
    } else {
        EXPECT_EQ(plantedRows(), (std::map<std::wstring, std::wstring>{{robust::Upper(system + name), L" 1"}}));
    }
    std::printf("%s: %zu rows under the windows folder's system folder\n", wow64 ? "WoW64" : "native",
                rowsUnder(system));

    inRealSystem32([&] { EXPECT_TRUE(DeleteFileW((system + name).c_str())); });
    if (!wow.empty()) EXPECT_TRUE(DeleteFileW((wow + name).c_str()));
}

// Links to a sibling (Linux symbolic links, folder links to Wine) walk it once; the Recycle Bin
// and System Volume Information at the root of C: are never walked, even typed as the root.
TEST_F(ScanWindowTest, EachFolderIsListedOnceAndTheRecycleBinIsLeftAlone) {
    NEED_FIXTURE(siblings, L"siblings");
    CheckTypes({1});  // *.tmp
    SetWindowTextW(Item(kIdPathBox), siblings.c_str());
    ClickFlat(Item(kIdScanButton));
    std::set<std::wstring> names;
    for (std::size_t i = 0; i < Main().Results().Count(); ++i) names.insert(Main().Results().Name(i));
    EXPECT_EQ(Main().Results().Count(), 250u);
    EXPECT_EQ(names.size(), 250u);
    EXPECT_EQ(Text(Item(kIdResultCaption)).rfind(L"扫描结果： 扫描到的文件共有： 250个；", 0), 0u);

    const std::wstring bin = L"C:\\$Recycle.Bin\\", user = bin + L"S-1-5-21-1\\";
    const std::wstring volumeInfo = L"C:\\System Volume Information\\";
    CreateDirectoryW(bin.c_str(), nullptr);
    CreateDirectoryW(user.c_str(), nullptr);
    CreateDirectoryW(volumeInfo.c_str(), nullptr);
    ASSERT_TRUE(PutFile(user + L"$RAB12CD.tmp", 10));
    ASSERT_TRUE(PutFile(user + L"$IAB12CD.tmp", 10));
    ASSERT_TRUE(PutFile(volumeInfo + L"restore.tmp", 10));
    const std::wstring control = L"C:\\qorvani-beside-the-bin.tmp";
    ASSERT_TRUE(PutFile(control, 10));
    auto rowsUnder = [&](const std::wstring& folder) {
        std::size_t count = 0;
        for (std::size_t i = 0; i < Main().Results().Count(); ++i)
            count += robust::Upper(Main().Results().ExactPath(i)).rfind(robust::Upper(folder), 0) == 0;
        return count;
    };
    SetWindowTextW(Item(kIdPathBox), L"C:\\");
    ClickFlat(Item(kIdScanButton));
    EXPECT_EQ(rowsUnder(control), 1u);
    EXPECT_EQ(rowsUnder(bin), 0u);
    EXPECT_EQ(rowsUnder(volumeInfo), 0u);
    SetWindowTextW(Item(kIdPathBox), user.c_str());
    ClickFlat(Item(kIdScanButton));
    EXPECT_EQ(Main().Results().Count(), 0u);

    for (const std::wstring& file :
         {user + L"$RAB12CD.tmp", user + L"$IAB12CD.tmp", volumeInfo + L"restore.tmp", control})
        DeleteFileW(file.c_str());
    for (const std::wstring& folder : {user, bin, volumeInfo}) RemoveDirectoryW(folder.c_str());
}

TEST_F(ScanWindowTest, NoCheckedTypeFindsNothingAndAnEmptyPathWalksNothing) {
    TempTree tree;
    tree.File(L"a.tmp", 10);
    SetWindowTextW(Item(kIdPathBox), tree.Root().c_str());
    ClickFlat(Item(kIdScanButton));
    EXPECT_EQ(RowCount(Item(kIdResultList)), 0);
    EXPECT_EQ(Text(Item(kIdResultCaption)).rfind(L"扫描结果： 扫描到的文件共有： 0个； 占用空间： 0 MB ；", 0), 0u);

    // An empty path box: no root at all, never the current folder.
    CheckTypes({1});
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(tree.Root().c_str());
    SetWindowTextW(Item(kIdPathBox), L"");
    ClickFlat(Item(kIdScanButton));
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(RowCount(Item(kIdResultList)), 0);
    EXPECT_EQ(Text(Item(kIdResultCaption)).rfind(L"扫描结果： 扫描到的文件共有： 0个；", 0), 0u);
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
        SetWindowTextW(Item(kIdPathBox), typed.c_str());
        ClickFlat(Item(kIdScanButton));
        ASSERT_EQ(Main().Results().Count(), 1u) << typed;
        EXPECT_EQ(Main().Results().ExactPath(0), r + L"rel\\a.tmp") << typed;
        EXPECT_EQ(RowText(Item(kIdResultList), 0), r + L"rel\\A.TMP") << typed;
        EXPECT_EQ(Text(Item(kIdPathBox)), typed);  // the box keeps what was typed
    }
    SetWindowTextW(Item(kIdPathBox), L".");
    ClickFlat(Item(kIdScanButton));
    EXPECT_EQ(Rows(), (std::set<std::wstring>{r + L"B.TMP| 10(字节)", r + L"rel\\A.TMP| 10(字节)"}));
}

TEST_F(ScanWindowTest, ClickHandledBeforeTheWalkStopsIt) {
    TempTree tree;
    tree.File(L"a.tmp", 10);
    CheckTypes({1});
    SetWindowTextW(Item(kIdPathBox), tree.Root().c_str());
    HWND start = Item(kIdScanButton);
    RECT rc;
    GetClientRect(start, &rc);
    const LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 2);
    SendMessageW(start, WM_MOUSEMOVE, 0, at);
    // A second click waits in the queue; the scan lets it run before its walk, as a stop.
    PostClickFlat(start);
    SendMessageW(start, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(start, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(RowCount(Item(kIdResultList)), 0);
    EXPECT_EQ(Text(Item(kIdResultCaption)).rfind(L"扫描结果： 扫描到的文件共有： 0个； 占用空间： 0 MB ；", 0), 0u);
    EXPECT_EQ(Text(start), text::kStartScanCaption);
    EXPECT_TRUE(Main().Scan().stopRequested);
    EXPECT_FALSE(Main().Scan().scanning);

    // With "所有硬盘驱动器" checked, the path box and the browse button stay off after a scan; the
    // box itself comes back.
    ClickControl(Item(kIdAllDrivesBox));
    ASSERT_FALSE(IsWindowEnabled(Item(kIdPathBox)));
    PostClickFlat(start);
    SendMessageW(start, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(start, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(Text(start), text::kStartScanCaption);
    EXPECT_FALSE(IsWindowEnabled(Item(kIdPathBox)));
    EXPECT_FALSE(IsWindowEnabled(Item(kIdBrowseButton)));
    for (int id : {kIdAllDrivesBox, kIdResultList, kIdTypeList, kIdDeleteButton, kIdCheckAllResultsButton}) EXPECT_TRUE(IsWindowEnabled(Item(id))) << id;
}

// A selection pass lets waiting messages run after its first row: a click posted before the
// pass runs there, nested. "← 全否" then clears every row, and "← 全选" goes on from row 1.
TEST_F(ScanWindowTest, ClickWaitingBeforeASelectionPassRunsAtItsFirstRow) {
    TempTree tree;
    for (int i = 0; i < 300; ++i) tree.File(L"f" + std::to_wstring(i) + L".tmp", 1);
    CheckTypes({1});
    SetWindowTextW(Item(kIdPathBox), tree.Root().c_str());
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(Main().Results().Count(), 300u);
    PostClickFlat(Item(kIdCheckNoResultsButton));
    ClickFlat(Item(kIdCheckAllResultsButton));
    EXPECT_FALSE(Main().Results().Checked(0));
    for (std::size_t i = 1; i < 300; ++i) ASSERT_TRUE(Main().Results().Checked(i)) << i;
    EXPECT_FALSE(RowChecked(Item(kIdResultList), 0));
    EXPECT_TRUE(RowChecked(Item(kIdResultList), 299));
}

TEST_F(ScanWindowTest, RealStopClickDuringTheWalkEndsTheScanEarly) {
    TempTree tree;
    const int folders = 4000;
    for (int i = 0; i < folders; ++i) {
        tree.Folder(L"f" + std::to_wstring(i));
        tree.File(L"f" + std::to_wstring(i) + L"\\x.tmp", 1);
    }
    CheckTypes({1});
    SetWindowTextW(Item(kIdPathBox), tree.Root().c_str());
    HWND start = Item(kIdScanButton);
    std::thread clicker([start] {
        if (!WaitFor([&] { return InternalText(start) == text::kStopCaption; }, 10000, "the start button to read 停止")) return;
        Sleep(10);  // a little way into the walk, which the click must cut short
        SendRealClick(start);
    });
    ClickFlat(start);
    clicker.join();
    const int found = RowCount(Item(kIdResultList));
    EXPECT_LT(found, folders);
    EXPECT_EQ(Text(start), text::kStartScanCaption);
    EXPECT_EQ(StatusText(Item(kIdStatusBar)), kCompletion);
    EXPECT_EQ(Text(Item(kIdResultCaption)).rfind(L"扫描结果： 扫描到的文件共有： " + std::to_wstring(found) + L"个；", 0), 0u);
    EXPECT_TRUE(IsWindowEnabled(Item(kIdExitButton)));
}

TEST_F(ScanWindowTest, ClosingTheWindowDuringAScanEndsTheProgramCleanly) {
    TempTree tree;
    for (int i = 0; i < 4000; ++i) {
        tree.Folder(L"f" + std::to_wstring(i));
        tree.File(L"f" + std::to_wstring(i) + L"\\x.tmp", 1);
    }
    CheckTypes({1});
    SetWindowTextW(Item(kIdPathBox), tree.Root().c_str());
    HWND start = Item(kIdScanButton);
    HWND window = window_;
    std::thread closer([start, window] {
        if (!WaitFor([&] { return InternalText(start) == text::kStopCaption; }, 10000, "the start button to read 停止")) return;
        Sleep(10);  // a little way into the walk
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
    WaitFor([&] { return !IsWindow(window_); }, 5000, "the window to go after the close");
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(TakeQuit());
}

}  // namespace

namespace {

// Records the first column's texts that the main window gives the result list while the list paints.
struct DrawnTexts {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        if (message == WM_NOTIFY) {
            const auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            if (info->hdr.idFrom == static_cast<UINT_PTR>(kIdResultList) && info->hdr.code == LVN_GETDISPINFOW &&
                info->item.iSubItem == 0 && (info->item.mask & LVIF_TEXT) && info->item.pszText != nullptr)
                reinterpret_cast<DrawnTexts*>(self)->texts[info->item.iItem] = info->item.pszText;
        }
        return result;
    }
    std::map<int, std::wstring> texts;
};

}  // namespace

// A path wider than the result list's first column is drawn with its middle left out, so the file name
// shows; the text that other programs read stays whole, and a tip shows it whole while the
// pointer rests on the row. A short path is drawn whole and has no tip.
TEST_F(ScanWindowTest, LongPathsAreDrawnCutInTheMiddleWithTheWholePathInATip) {
    TempTree tree;
    const std::wstring deep = L"a rather long folder name\\another long folder name\\and one more";
    tree.Folder(L"a rather long folder name");
    tree.Folder(L"a rather long folder name\\another long folder name");
    tree.Folder(deep);
    tree.File(deep + L"\\the file name.tmp", 1);
    tree.File(L"s.tmp", 1);
    CheckTypes({1});
    SetWindowTextW(Item(kIdPathBox), tree.Root().c_str());
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(Main().Results().Count(), 2u);
    const int longRow = Main().Results().Name(0) == L"s.tmp" ? 1 : 0;
    const int shortRow = 1 - longRow;
    HWND list = Item(kIdResultList);

    // Read by another program: the whole text.
    EXPECT_EQ(RowText(list, longRow), Main().Results().DisplayText(longRow));
    EXPECT_EQ(RowText(list, shortRow), Main().Results().DisplayText(shortRow));

    // Drawn: cut in the middle, the file name whole at its end.
    DrawnTexts drawn;
    SetWindowSubclass(window_, DrawnTexts::Proc, 77, reinterpret_cast<DWORD_PTR>(&drawn));
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RemoveWindowSubclass(window_, DrawnTexts::Proc, 77);
    ASSERT_TRUE(drawn.texts.count(longRow));
    const std::wstring cut = drawn.texts[longRow];
    EXPECT_NE(cut, Main().Results().DisplayText(longRow));
    EXPECT_TRUE(cut.ends_with(L"...\\THE FILE NAME.TMP") || cut.ends_with(L"\\THE FILE NAME.TMP")) << robust::Narrow(cut);
    EXPECT_NE(cut.find(L"..."), std::wstring::npos);
    EXPECT_EQ(cut.substr(0, 3), tree.Root().substr(0, 3));  // the drive stays in front
    EXPECT_EQ(drawn.texts[shortRow], Main().Results().DisplayText(shortRow));
    EXPECT_EQ(RowText(list, longRow), Main().Results().DisplayText(longRow));  // after the paint too

    // The tip: the whole path for the cut row only.
    EXPECT_EQ(Main().ResultListCells().TipText(longRow), Main().Results().DisplayText(longRow));
    EXPECT_EQ(Main().ResultListCells().TipText(shortRow), L"");
    RECT row{};
    row.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, longRow, reinterpret_cast<LPARAM>(&row));
    POINT at{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    POINT screen = at;
    ClientToScreen(list, &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(Main().ResultListCells().TipRow(), longRow);
    HWND tip = Main().ResultListCells().Tip();
    ASSERT_NE(tip, nullptr);
    WaitFor([&] { return IsWindowVisible(tip) != FALSE; }, 10000, "the tip to show once the pointer rests");
    wchar_t shown[MAX_PATH * 2] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = window_;  // the tool is the list's parent's, which reflects the tip's notifications
    tool.uId = 1;
    tool.lpszText = shown;
    SendMessageW(tip, TTM_GETTEXTW, MAX_PATH * 2, reinterpret_cast<LPARAM>(&tool));
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(std::wstring(shown), Main().Results().DisplayText(longRow));
    std::printf("drawn \"%s\", tip %s\n", robust::Narrow(cut).c_str(), IsWindowVisible(tip) ? "shown" : "not shown");

    // Another row: the tip goes; a short row never shows one.
    RECT other{};
    other.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, shortRow, reinterpret_cast<LPARAM>(&other));
    at = POINT{(other.left + other.right) / 2, (other.top + other.bottom) / 2};
    screen = at;
    ClientToScreen(list, &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    EXPECT_FALSE(IsWindowVisible(tip));
    Pump(1000);
    EXPECT_FALSE(IsWindowVisible(tip));
}

// With more rows than fit, the vertical scroll bar takes its part of the list's width and the
// first column reaches under it; a user can also drag the column wider than the list. Every cut
// row drawn still ends, in view, with its file name.
TEST_F(ScanWindowTest, CutPathsEndInViewWhenTheColumnReachesPastTheListsEdge) {
    TempTree tree;
    std::wstring deep = L"a rather long folder name";
    tree.Folder(deep);
    deep += L"\\another long folder name";
    tree.Folder(deep);
    const int files = 40;
    for (int i = 0; i < files; ++i) tree.File(deep + L"\\file number " + std::to_wstring(i) + L".tmp", 1);
    CheckTypes({1});
    SetWindowTextW(Item(kIdPathBox), tree.Root().c_str());
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(Main().Results().Count(), static_cast<std::size_t>(files));
    HWND list = Item(kIdResultList);
    ASSERT_NE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL, 0) << "the rows should not all fit";
    RECT client{};
    GetClientRect(list, &client);

    const int laidOut = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    for (int width : {laidOut, static_cast<int>(client.right) + 150}) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, width);
        DrawnTexts drawn;
        SetWindowSubclass(window_, DrawnTexts::Proc, 77, reinterpret_cast<DWORD_PTR>(&drawn));
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        RemoveWindowSubclass(window_, DrawnTexts::Proc, 77);

        RECT column{};
        column.left = LVIR_LABEL;
        SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&column));
        EXPECT_GT(column.right, client.right) << "the first column should reach under the scroll bar";
        HDC dc = GetDC(list);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
        const int margin = MulDiv(2, GetDeviceCaps(dc, LOGPIXELSX), 96);  // the least the list leaves before a text
        const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
        const int perPage = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
        int seen = 0;
        for (int row = top; row < top + perPage && row < files; ++row, ++seen) {
            ASSERT_TRUE(drawn.texts.count(row)) << row;
            const std::wstring& text = drawn.texts[row];
            const std::wstring whole = Main().Results().DisplayText(static_cast<std::size_t>(row));
            const std::wstring name = whole.substr(whole.rfind(L'\\'));
            EXPECT_NE(text, whole) << row;
            EXPECT_TRUE(text.ends_with(name)) << robust::Narrow(text);
            RECT label{};
            label.left = LVIR_LABEL;
            SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
            SIZE size{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            EXPECT_LE(label.left + margin + size.cx, client.right)
                << robust::Narrow(text) << " ends out of view, column of " << width << " pixels";
        }
        SelectObject(dc, old);
        ReleaseDC(list, dc);
        EXPECT_GT(seen, 5);
    }
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, laidOut);
}

// Typing in the result list finds the row whose text begins with what was typed, and moves nowhere when
// no row does (it used to jump to row 0).
TEST_F(ScanWindowTest, TypingInTheResultListFindsRowsByTheirText) {
    TempTree tree;
    tree.File(L"a.tmp", 1);
    tree.File(L"b.tmp", 1);
    tree.File(L"c.tmp", 1);
    CheckTypes({1});
    SetWindowTextW(Item(kIdPathBox), tree.Root().c_str());
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(Main().Results().Count(), 3u);
    HWND list = Item(kIdResultList);
    auto selected = [&] { return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); };
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&item));
    SetFocus(list);
    ASSERT_EQ(selected(), 2);

    SendMessageW(list, WM_CHAR, L'#', 0);  // no row begins with it
    EXPECT_EQ(selected(), 2);

    // The list asks with what was typed; the answer is a real search.
    NMLVFINDITEMW find{};
    find.hdr.hwndFrom = list;
    find.hdr.idFrom = kIdResultList;
    find.hdr.code = LVN_ODFINDITEMW;
    find.iStart = 0;
    const std::wstring wanted = Main().Results().DisplayText(1);
    find.lvfi.flags = LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP;
    find.lvfi.psz = wanted.c_str();
    EXPECT_EQ(SendMessageW(window_, WM_NOTIFY, kIdResultList, reinterpret_cast<LPARAM>(&find)), 1);
    const std::wstring nothing = L"#";
    find.lvfi.psz = nothing.c_str();
    EXPECT_EQ(SendMessageW(window_, WM_NOTIFY, kIdResultList, reinterpret_cast<LPARAM>(&find)), -1);
}
