// Reviewing the rows before a delete, in the real window with real input: the result list's
// menu (right-click, Shift+F10), sorting, the checked total in the status bar, the Delete key.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "DeleteAnswerer.h"
#include "MainWindowFixture.h"
#include "RobustSupport.h"
#include "WinTestSupport.h"
#include "app/core/Layout.h"
#include "app/core/ResultMenu.h"
#include "app/win32/MainWindow.h"
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
