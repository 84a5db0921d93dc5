// Reviewing the rows before a delete, in the real window with real input: the result list's
// menu (right-click, Shift+F10), sorting, the checked total in the status bar, the Delete key.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <thread>
#include <vector>

#include "DeleteAnswerer.h"
#include "MainWindowFixture.h"
#include "RobustSupport.h"
#include "WinTestSupport.h"
#include "app/core/Layout.h"
#include "app/core/ResultMenu.h"
#include "checklist/core/CheckedTotal.h"
#include "app/win32/MainWindow.h"
#include "app/win32/RowActions.h"
#include "common/core/Texts.h"

using namespace qorvani;
using namespace wintest;

namespace {

void SendKeys(std::initializer_list<WORD> keys, bool shift = false) {
    std::vector<INPUT> inputs;
    auto key = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (shift) key(VK_SHIFT, false);
    for (WORD vk : keys) {
        key(vk, false);
        key(vk, true);
    }
    if (shift) key(VK_SHIFT, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void RealRightClickAt(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT inputs[3] = {};
    inputs[0].type = inputs[1].type = inputs[2].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

// Watches this process for popup menus (the window class #32768) from a thread of its own, and
// answers each one that opens with the next command given: real Down presses until that item is
// highlighted, then Enter (0: Esc, the menu closed unchosen).
class MenuAnswerer {
public:
    explicit MenuAnswerer(std::vector<int> answers) : answers_(std::move(answers)) {
        thread_ = std::thread([this] { Run(); });
    }
    ~MenuAnswerer() { Stop(); }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    int Opened() const { return opened_; }

private:
    static HWND OpenMenu() {
        for (HWND menu = FindWindowW(L"#32768", nullptr); menu != nullptr; menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(menu, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(menu)) return menu;
        }
        return nullptr;
    }
    static int Highlighted(HMENU menu) {
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
            if (GetMenuState(menu, i, MF_BYPOSITION) & MF_HILITE) return static_cast<int>(GetMenuItemID(menu, i));
        return 0;
    }
    void Answer(HWND window, int command) {
        Sleep(100);  // the menu's loop takes keys once it has shown the menu
        if (command == 0) {
            SendKeys({VK_ESCAPE});
            return;
        }
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
        for (int tries = 0; tries < 20 && !stop_ && IsWindow(window); ++tries) {
            if (Highlighted(menu) == command) {
                SendKeys({VK_RETURN});
                return;
            }
            SendKeys({VK_DOWN});
            Sleep(60);
        }
        SendKeys({VK_ESCAPE});
    }
    void Run() {
        while (!stop_) {
            HWND menu = OpenMenu();
            if (menu == nullptr) {
                Sleep(10);
                continue;
            }
            const std::size_t index = static_cast<std::size_t>(opened_++);
            Answer(menu, index < answers_.size() ? answers_[index] : 0);
            while (!stop_ && IsWindow(menu) && IsWindowVisible(menu)) Sleep(10);
        }
    }
    std::vector<int> answers_;
    std::atomic<bool> stop_{false};
    std::atomic<int> opened_{0};
    std::thread thread_;
};

class ReviewWindowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ClickRowCheckBox(Item(kIdTypeList), 1);  // *.tmp
    }
    void Scan(const std::wstring& root) {
        SetWindowTextW(Item(kIdPathBox), root.c_str());
        ClickFlat(Item(kIdScanButton));
    }
    int RowOf(const std::wstring& path) {
        for (std::size_t i = 0; i < Main().Results().Count(); ++i)
            if (Main().Results().ExactPath(i) == path) return static_cast<int>(i);
        return -1;
    }
    POINT RowPoint(int row) {
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageW(Item(kIdResultList), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
        POINT point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(Item(kIdResultList), &point);
        return point;
    }
    void FocusList() {
        SetForegroundWindow(window_);
        SetFocus(Item(kIdResultList));
        Pump(50);
    }
    std::wstring Total() { return StatusTotal(Item(kIdStatusBar)); }

    TempTree tree_;
};

TEST_F(ReviewWindowTest, TheMenuOpensFromARightClickAndShiftF10AndSortsBySizeWithTheChecks) {
    const int sizes[] = {300, 5000, 10, 4000, 5000};  // found in name order within the folder
    for (int i = 0; i < 5; ++i) tree_.File(L"f" + std::to_wstring(i) + L".tmp", sizes[i]);
    Scan(tree_.Root());
    ASSERT_EQ(RowCount(Item(kIdResultList)), 5);
    EXPECT_EQ(Total(), CheckedTotalText(0, 0));  // the total is in view once there are rows
    ClickRowCheckBox(Item(kIdResultList), RowOf(tree_.Root() + L"f3.tmp"));
    EXPECT_EQ(Total(), CheckedTotalText(1, 4000));  // at once after the click

    {
        MenuAnswerer answerer({0, kMenuSortBySize});
        FocusList();
        RealRightClickAt(RowPoint(2));
        ASSERT_TRUE(WaitFor([&] { return answerer.Opened() == 1; }, 5000, "the menu of a right-click"));
        Pump(200);
        FocusList();
        SendKeys({VK_F10}, true);
        ASSERT_TRUE(WaitFor([&] { return Main().Results().Order() == RowOrder::BySize; }, 5000,
                            "the sort by size chosen from the menu of Shift+F10"));
        EXPECT_EQ(answerer.Opened(), 2);
    }
    // Largest first, the two of 5000 bytes in the order found; the check went with f3.
    const std::vector<std::wstring> order = {L"f1.tmp", L"f4.tmp", L"f3.tmp", L"f0.tmp", L"f2.tmp"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Main().Results().ExactPath(i), tree_.Root() + order[i]) << i;
        EXPECT_EQ(RowText(Item(kIdResultList), i, 0).substr(RowText(Item(kIdResultList), i, 0).size() - 6),
                  robust::Upper(order[i]));
        EXPECT_EQ(RowChecked(Item(kIdResultList), i), order[i] == L"f3.tmp") << i;
    }
    EXPECT_EQ(RowText(Item(kIdResultList), 0, 1), L" 4.8");
    EXPECT_EQ(Total(), CheckedTotalText(1, 4000));
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

TEST_F(ReviewWindowTest, CopyPathPutsTheExactPathOnTheClipboardNotTheShownText) {
    tree_.Folder(L"Mixed Case");
    tree_.File(L"Mixed Case\\Report.Tmp", 10);
    Scan(tree_.Root());
    ASSERT_EQ(RowCount(Item(kIdResultList)), 1);
    MenuAnswerer answerer({kMenuCopyPath});
    FocusList();
    RealRightClickAt(RowPoint(0));
    ASSERT_TRUE(WaitFor([&] { return ClipboardText() == tree_.Root() + L"Mixed Case\\Report.Tmp"; }, 5000,
                        "the exact path on the clipboard"))
        << answerer.Opened() << " " << robust::Narrow(ClipboardText());
    EXPECT_NE(RowText(Item(kIdResultList), 0, 0).find(L"REPORT.TMP"), std::wstring::npos);
}

// "导出列表…": the system's save dialog names the file; every row goes into it, in the order shown,
// with its check, as UTF-8 CSV with a byte-order mark.
TEST_F(ReviewWindowTest, TheListExportsToTheFileTheSaveDialogNames) {
    tree_.File(L"a.tmp", 10);
    tree_.File(L"b,c.tmp", 2048);
    Scan(tree_.Root());
    ASSERT_EQ(RowCount(Item(kIdResultList)), 2);
    ClickRowCheckBox(Item(kIdResultList), RowOf(tree_.Root() + L"b,c.tmp"));
    const std::wstring target = tree_.Root() + L"list.csv";
    std::atomic<bool> named{false};
    std::thread saver([&] {
        // The save dialog of this process: its file name box, then its OK.
        for (int tries = 0; tries < 500 && !named; ++tries, Sleep(10)) {
            for (HWND dialog = FindWindowW(L"#32770", nullptr); dialog != nullptr;
                 dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) {
                DWORD process = 0;
                GetWindowThreadProcessId(dialog, &process);
                if (process != GetCurrentProcessId() || !IsWindowVisible(dialog)) continue;
                HWND name = GetDlgItem(dialog, 0x480);            // edt1
                if (name == nullptr) name = GetDlgItem(dialog, 0x47C);  // cmb13
                if (name == nullptr) continue;
                SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                named = true;
                break;
            }
        }
    });
    MenuAnswerer answerer({kMenuExportList});
    FocusList();
    RealRightClickAt(RowPoint(0));
    const bool written = WaitFor([&] { return GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000,
                                 "the exported file");
    named = true;
    saver.join();
    ASSERT_TRUE(written) << answerer.Opened();
    Pump(200);
    const std::string root = robust::Narrow(tree_.Root());
    const std::string text = robust::FileBytes(target);
    std::string expected = "\xEF\xBB\xBFpath,size,checked\r\n";
    for (std::size_t i = 0; i < 2; ++i)  // in the order shown, as listed
        expected += Main().Results().Name(i) == L"a.tmp" ? root + "a.tmp,10,false\r\n"
                                                         : "\"" + root + "b,c.tmp\",2048,true\r\n";
    EXPECT_EQ(text, expected);
}

// Another program holds the clipboard (a clipboard manager, a remote desktop): for 300 ms, and the
// copy waits and takes it; for 5 s, and after a second the command says so in one message and
// leaves the clipboard as it was (ended with the holder still holding it).
TEST_F(ReviewWindowTest, CopyPathWaitsForTheClipboardAnotherProcessHoldsAndSaysSoWhenItStaysHeld) {
    tree_.File(L"held.tmp", 10);
    Scan(tree_.Root());
    ASSERT_EQ(RowCount(Item(kIdResultList)), 1);
    const std::wstring path = tree_.Root() + L"held.tmp";
    const std::wstring ready = L"QorvaniClipboardHeld" + std::to_wstring(GetCurrentProcessId());
    {
        robust::HelperProcess holder(L"--hold-clipboard 300 " + ready, ready);
        ASSERT_TRUE(holder.Started());
        const DWORD start = GetTickCount();
        EXPECT_TRUE(CopyToClipboard(window_, path));
        const DWORD waited = GetTickCount() - start;
        std::printf("the copy waited %lu ms for the clipboard\n", waited);
        EXPECT_GE(waited, 200u);  // it was held when the copy began
        EXPECT_LT(waited, kClipboardPatienceMs);
        EXPECT_EQ(ClipboardText(), path);
    }
    ASSERT_TRUE(CopyToClipboard(window_, L"before"));
    const DWORD before = GetClipboardSequenceNumber();
    robust::HelperProcess holder(L"--hold-clipboard 5000 " + ready, ready);
    ASSERT_TRUE(holder.Started());
    // The message is read and closed from another thread: its loop runs inside this thread's wait.
    std::atomic<int> boxes{0};
    std::wstring told;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            for (HWND box = FindWindowW(L"#32770", nullptr); box != nullptr; box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
                DWORD process = 0;
                GetWindowThreadProcessId(box, &process);
                if (process != GetCurrentProcessId() || !IsWindowVisible(box)) continue;
                wchar_t title[64] = {}, body[256] = {};
                GetWindowTextW(box, title, 64);
                GetWindowTextW(GetDlgItem(box, 0xFFFF), body, 256);
                if (++boxes == 1) told = std::wstring(title) + L": " + body;
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                while (IsWindow(box)) Sleep(10);
            }
            Sleep(10);
        }
    });
    MenuAnswerer answerer({kMenuCopyPath});
    FocusList();
    RealRightClickAt(RowPoint(0));
    const bool shown = WaitFor([&] { return boxes.load() > 0; }, 4000, "the message that the clipboard is taken");
    answerer.Stop();
    Pump(200);
    done = true;
    reader.join();
    ASSERT_TRUE(shown);
    EXPECT_EQ(boxes.load(), 1);
    EXPECT_EQ(told, std::wstring(text::kCopyPathItem) + L": " + text::kClipboardBusy);
    EXPECT_EQ(GetClipboardSequenceNumber(), before);  // nothing put on it since "before"
    EXPECT_EQ(holder.ExitCode(), -1);                  // still holding it: the copy gave up on its own
}

// A row's check box set from another process, as UI Automation's Toggle does it (LVM_SETITEMSTATE
// with the state image, its LVITEM in this process's memory): the store takes it as it takes
// Space, and the total counts it. Another process rather than another thread, since that is
// where a screen reader or an automation client sends from (the message then crosses as a
// sent message from outside, answered while this thread waits).
TEST_F(ReviewWindowTest, AStateImageSetFromAnotherProcessChecksTheRowAndTheTotalCountsIt) {
    tree_.File(L"a.tmp", 4000);
    tree_.File(L"b.tmp", 2000);
    tree_.File(L"c.tmp", 1000);
    Scan(tree_.Root());
    ASSERT_EQ(RowCount(Item(kIdResultList)), 3);
    const HWND list = Item(kIdResultList);
    wchar_t handle[32];
    std::swprintf(handle, 32, L"%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(list)));
    auto setImage = [&](int row, int image) {
        robust::HelperProcess client(L"--set-state-image " + std::wstring(handle) + L" " + std::to_wstring(row) + L" " +
                                     std::to_wstring(image));
        WaitFor([&] { return client.ExitCode() != -1; }, 10000, "the other process's LVM_SETITEMSTATE");
        return client.ExitCode();
    };
    const int a = RowOf(tree_.Root() + L"a.tmp");
    const int b = RowOf(tree_.Root() + L"b.tmp");
    EXPECT_EQ(setImage(a, 2), 0);
    EXPECT_TRUE(Main().Results().Checked(a));
    EXPECT_TRUE(RowChecked(list, a));
    EXPECT_FALSE(RowChecked(list, b));
    EXPECT_EQ(Total(), CheckedTotalText(1, 4000));
    EXPECT_EQ(setImage(b, 0), 0);  // no check box image: the check stays as it is
    EXPECT_FALSE(RowChecked(list, b));
    EXPECT_EQ(setImage(-1, 2), 0);  // every row
    for (int row = 0; row < 3; ++row) EXPECT_TRUE(RowChecked(list, row)) << row;
    EXPECT_EQ(Total(), CheckedTotalText(3, 7000));
    EXPECT_EQ(setImage(a, 1), 0);
    EXPECT_FALSE(Main().Results().Checked(a));
    EXPECT_EQ(Total(), CheckedTotalText(2, 3000));
    // The selection in the same message still reaches the list.
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_STATEIMAGEMASK;
    item.state = LVIS_SELECTED | INDEXTOSTATEIMAGEMASK(2);
    SendMessageW(list, LVM_SETITEMSTATE, a, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), a);
    EXPECT_EQ(Total(), CheckedTotalText(3, 7000));
}

// Moved to 144 DPI, the total's part is made for the larger font; moved back to 96 DPI, the bar
// is narrower and the part moves with its right end, inside it.
TEST_F(ReviewWindowTest, TheCheckedTotalStaysInsideTheStatusBarAcrossADpiChange) {
    ChangeDpi(window_, 144);
    tree_.File(L"a.tmp", 4000);
    tree_.File(L"b.tmp", 2000);
    Scan(tree_.Root());
    ClickRowCheckBox(Item(kIdResultList), RowOf(tree_.Root() + L"a.tmp"));
    const HWND bar = Item(kIdStatusBar);
    for (int dpi : {144, 96}) {
        SCOPED_TRACE(dpi);
        ChangeDpi(window_, dpi);
        EXPECT_EQ(Total(), CheckedTotalText(1, 4000));
        RECT client{};
        GetClientRect(bar, &client);
        EXPECT_EQ(client.right, TwipsToPixels(kMainClientWidthTwips, dpi));
        ASSERT_EQ(SendMessageW(bar, SB_GETPARTS, 0, 0), 2);
        RECT part{};
        ASSERT_TRUE(SendMessageW(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part)));
        EXPECT_GT(part.left, client.left);
        EXPECT_LT(part.left, client.right);
        EXPECT_LE(part.right, client.right);
        // As wide as the total needs in the bar's font at this DPI.
        const std::wstring total = Total();
        HDC dc = GetDC(bar);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, total.c_str(), static_cast<int>(total.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(bar, dc);
        EXPECT_GE(part.right - part.left, extent.cx);
        std::printf("at %d DPI: the bar %ld px, the total's part %ld to %ld, its text %ld px\n", dpi, client.right, part.left,
                    part.right, extent.cx);
    }
}

// The total after a check-all pass over 20,000 rows, after a delete (the rows left keep their
// sizes), and the Delete key, which asks the question exactly as the button does.
TEST_F(ReviewWindowTest, TheTotalAfterAPassAndADeleteTheDeleteKeyAsksAndTheFocusStaysOnItsFile) {
    NEED_FIXTURE(twenty, L"twenty");
    Scan(twenty);
    ASSERT_EQ(RowCount(Item(kIdResultList)), 20000);
    ClickFlat(Item(kIdCheckAllResultsButton));
    EXPECT_EQ(Total(), L"已选中： 20000个， 19.5 MB");
    ClickFlat(Item(kIdCheckNoResultsButton));
    EXPECT_EQ(Total(), L"已选中： 0个， 0 MB");

    for (int i = 0; i < 6; ++i) tree_.File(L"d" + std::to_wstring(i) + L".tmp", 2048 * (i + 1));
    Scan(tree_.Root());
    ASSERT_EQ(RowCount(Item(kIdResultList)), 6);
    ClickRowCheckBox(Item(kIdResultList), RowOf(tree_.Root() + L"d1.tmp"));
    ClickRowCheckBox(Item(kIdResultList), RowOf(tree_.Root() + L"d2.tmp"));
    EXPECT_EQ(Total(), CheckedTotalText(2, 2048 * 5));

    {  // the Delete key: the question, answered "取消", changes nothing
        drive::DeleteAnswerer answerer(IDCANCEL);
        FocusList();
        SendKeys({VK_DELETE});
        ASSERT_TRUE(WaitFor([&] { return answerer.Questions() == 1; }, 5000, "the delete question after the Delete key"));
        answerer.Stop();
        EXPECT_EQ(answerer.Answered()[0].text, text::kDeleteQuestion);
    }
    EXPECT_EQ(RowCount(Item(kIdResultList)), 6);

    // The keyboard's focus and selection on d3.tmp, the fourth row, below the two rows deleted.
    Main().ResultRows().Sort(RowOrder::ByPath);
    FocusList();
    SendKeys({VK_HOME, VK_DOWN, VK_DOWN, VK_DOWN});
    const HWND list = Item(kIdResultList);
    auto focused = [&] { return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)); };
    ASSERT_TRUE(WaitFor([&] { return focused() == 3; }, 3000, "the focus on the fourth row"));
    const std::wstring pointedAt = RowText(list, 3);

    drive::DeleteAnswerer answerer(IDYES);
    ClickFlat(Item(kIdDeleteButton));
    answerer.Stop();
    ASSERT_EQ(RowCount(Item(kIdResultList)), 4);
    // The focus and the selection stay on d3.tmp (now the second row), not on the fourth row,
    // which now names d5.tmp.
    ASSERT_EQ(focused(), 1);
    EXPECT_EQ(RowText(list, focused()), pointedAt);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
    EXPECT_EQ(Total(), CheckedTotalText(0, 0));
    EXPECT_EQ(RowText(Item(kIdResultList), RowOf(tree_.Root() + L"d0.tmp"), 1), L" 2");
    EXPECT_EQ(RowText(Item(kIdResultList), RowOf(tree_.Root() + L"d3.tmp"), 1), L" 8");
    EXPECT_EQ(StatusText(Item(kIdStatusBar)), L"删除文件 2个 ");
}

}  // namespace
