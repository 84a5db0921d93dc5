// The main window from the keyboard alone, with real key presses (SendInput): Tab along the
// layout's tab order, Space and Enter on the flat buttons, Enter in the path box, Esc and Enter
// in the About window, the focus kept usable while a scan runs, and a whole walk from choosing
// the types to exit.
//
// A command started by a key runs nested inside the test's own message loop (a scan, the About
// window, the delete question), so the keys that must reach it come from a second thread, which
// reads the focus of the window's thread with GetGUIThreadInfo.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "MainWindowFixture.h"
#include "RobustSupport.h"
#include "WinTestSupport.h"
#include "about/win32/AboutWindow.h"
#include "app/core/Layout.h"
#include "app/win32/MainWindow.h"
#include "clean/core/DeleteCommand.h"
#include "common/core/Texts.h"
#include "scan/core/ScanCommand.h"

using namespace qorvani;
using namespace wintest;

namespace {

void ShiftTab() {
    INPUT inputs[4] = {};
    for (INPUT& input : inputs) input.type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_SHIFT;
    inputs[1].ki.wVk = VK_TAB;
    inputs[2].ki.wVk = VK_TAB;
    inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[3].ki.wVk = VK_SHIFT;
    inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, inputs, sizeof(INPUT));
}

// The focus of another thread's windows.
HWND FocusOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// The controls that take the focus from the keyboard, in the layout's tab order.
std::vector<int> TabStops() {
    std::vector<int> ids;
    for (const ControlLayout& row : kMainLayout)
        if (row.kind != ControlKind::Label && row.kind != ControlKind::StatusBar) ids.push_back(row.id);
    return ids;
}

class KeyboardTest : public MainWindowFixture {
protected:
    // Runs keys on a second thread while this one handles the window's messages, until it ends.
    void WithKeys(const std::function<void()>& keys, DWORD milliseconds = 30000) {
        std::atomic<bool> done{false};
        std::thread typist([&] {
            keys();
            done = true;
        });
        WaitFor([&] { return done.load(); }, milliseconds, "the keys to be typed");
        typist.join();  // its own waits are bounded: it runs out
        Pump(50);
    }
    // On the typist's thread: waits until the window's focus sits on control.
    bool FocusReaches(HWND control, const char* what) {
        return WaitFor([&] { return FocusOf(thread_) == control; }, 5000, what);
    }
    void SetUp() override {
        MainWindowFixture::SetUp();
        thread_ = GetCurrentThreadId();
    }
    std::wstring Caption() const { return Text(Item(kIdScanButton)); }

    DWORD thread_ = 0;
};

TEST_F(KeyboardTest, TabVisitsEveryControlInTheLayoutsTabOrder) {
    const std::vector<int> stops = TabStops();
    ASSERT_EQ(stops.size(), 13u);  // ten flat buttons, the path box, two lists, the all-drives box
    for (int id : stops) EXPECT_TRUE(GetWindowLongW(Item(id), GWL_STYLE) & WS_TABSTOP) << id;
    SetFocus(Item(stops.front()));
    for (std::size_t i = 1; i <= stops.size(); ++i) {
        robust::RealKey(VK_TAB);
        const HWND expected = Item(stops[i % stops.size()]);
        ASSERT_TRUE(PollFor([&] { return GetFocus() == expected; }, 3000))
            << "Tab number " << i << " should reach control " << stops[i % stops.size()];
    }
    ShiftTab();
    EXPECT_TRUE(WaitFor([&] { return GetFocus() == Item(stops.back()); }, 3000, "Shift+Tab back"));
}

TEST_F(KeyboardTest, EnterInThePathBoxScansAndSpaceOnTheScanButtonStopsAndStarts) {
    NEED_FIXTURE(fork, L"fork");
    // Walked as on a file system that gives no file IDs, the fork never ends by itself.
    Main().Lister().SetFolderIdentities(false);
    ClickFlat(Item(kIdCheckAllTypesButton));
    SetWindowTextW(Item(kIdPathBox), fork.c_str());
    SetFocus(Item(kIdPathBox));
    HWND scan = Item(kIdScanButton);
    std::atomic<int> focusOnScanWhileScanning{0};
    std::atomic<int> scans{0};
    WithKeys([&] {
        robust::RealKey(VK_RETURN);
        for (int round = 0; round < 2; ++round) {
            if (!WaitFor([&] { return Caption() == text::kStopCaption; }, 10000, "a scan to start")) return;
            ++scans;
            // The path box was disabled under the focus: it moved to the scan button.
            if (FocusOf(thread_) == scan) ++focusOnScanWhileScanning;
            Sleep(100);
            robust::RealKey(VK_SPACE);  // stops
            if (!WaitFor([&] { return Caption() == text::kStartScanCaption; }, 10000, "the scan to stop")) return;
            if (round == 0) robust::RealKey(VK_SPACE);  // starts again
        }
    });
    EXPECT_EQ(scans.load(), 2);
    EXPECT_EQ(focusOnScanWhileScanning.load(), 2);
    EXPECT_EQ(Caption(), text::kStartScanCaption);
    EXPECT_EQ(GetFocus(), scan);
    EXPECT_TRUE(IsWindowEnabled(Item(kIdPathBox)));
}

TEST_F(KeyboardTest, EscAndEnterCloseTheAboutWindow) {
    SetFocus(Item(kIdAboutButton));
    std::atomic<int> closed{0};
    WithKeys([&] {
        for (WORD key : {VK_ESCAPE, VK_RETURN}) {
            robust::RealKey(VK_SPACE);  // on the about button: opens it
            HWND about = nullptr;
            if (!WaitFor([&] { return (about = FindWindowW(kAboutWindowClass, nullptr)) && IsWindowVisible(about); }, 10000,
                         "the About window"))
                return;
            // Its focus starts on its OK button.
            if (!FocusReaches(GetDlgItem(about, kIdAboutOkButton), "the focus on OK")) return;
            robust::RealKey(key);
            if (!WaitFor([&] { return FindWindowW(kAboutWindowClass, nullptr) == nullptr; }, 10000,
                         "the About window to close"))
                return;
            ++closed;
            // The main window takes its focus back where it was.
            if (!FocusReaches(Item(kIdAboutButton), "the focus back on the about button")) return;
        }
    });
    EXPECT_EQ(closed.load(), 2);
    EXPECT_TRUE(IsWindowEnabled(window_));
}

// Choosing the types, the folder, scanning, checking every result, deleting into the Recycle
// Bin and exit, with the keyboard alone.
TEST_F(KeyboardTest, AKeyboardOnlyWalkScansChecksAllDeletesAndExits) {
    TempTree tree;
    tree.File(L"a.tmp", 10);
    tree.File(L"b.tmp", 20);
    tree.File(L"keep.txt", 30);
    SetWindowTextW(Item(kIdPathBox), tree.Root().c_str());
    SetFocus(Item(kIdCheckNoTypesButton));
    std::atomic<int> questions{0};
    std::atomic<bool> exited{false};
    WithKeys([&] {
        robust::RealKey(VK_TAB);  // from 全否 ↑ on to the all-drives box, and back twice
        if (!FocusReaches(Item(kIdAllDrivesBox), "the all-drives box")) return;
        ShiftTab();
        ShiftTab();  // back to 全选 ↑
        if (!FocusReaches(Item(kIdCheckAllTypesButton), "the check-all-types button")) return;
        robust::RealKey(VK_SPACE);
        // (The window is read through messages: they run on its own thread.)
        HWND types = Item(kIdTypeList);
        HWND results = Item(kIdResultList);
        if (!WaitFor([&] { return RowChecked(types, 0) && RowChecked(types, 25); }, 5000, "every type checked")) return;
        // Shift+Tab through the lists and the browse button to the path box; Enter scans.
        for (int i = 0; i < 4; ++i) ShiftTab();
        if (!FocusReaches(Item(kIdPathBox), "the path box")) return;
        robust::RealKey(VK_RETURN);
        if (!WaitFor([&] { return RowCount(results) == 2 && Caption() == text::kStartScanCaption; }, 10000,
                     "the scan's two rows"))
            return;
        // From the scan button (where the focus went) back to "← 全选", Space checks every row.
        if (!FocusReaches(Item(kIdScanButton), "the focus on the scan button")) return;
        ShiftTab();
        ShiftTab();
        if (!FocusReaches(Item(kIdCheckAllResultsButton), "the check-all-results button")) return;
        robust::RealKey(VK_SPACE);
        if (!WaitFor([&] { return RowChecked(results, 0) && RowChecked(results, 1); }, 5000, "both rows checked"))
            return;
        // On to "清除选中项目"; its question answered "否" (into the Recycle Bin): from "取消",
        // the default, one Shift+Tab back and Space.
        for (int i = 0; i < 3; ++i) ShiftTab();
        if (!FocusReaches(Item(kIdDeleteButton), "the delete button")) return;
        robust::RealKey(VK_SPACE);
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = FindWindowW(L"#32770", text::kDeleteTitle)) && IsWindowVisible(box); }, 10000,
                     "the delete question"))
            return;
        ++questions;
        Sleep(100);
        ShiftTab();
        Sleep(100);
        robust::RealKey(VK_SPACE);
        if (!WaitFor([&] { return RowCount(results) == 0; }, 15000, "the rows deleted")) return;
        // The focus is back on the delete button: two Tabs to "退出", and Space ends the program.
        if (!FocusReaches(Item(kIdDeleteButton), "the focus back on the delete button")) return;
        robust::RealKey(VK_TAB);
        robust::RealKey(VK_TAB);
        if (!FocusReaches(Item(kIdExitButton), "the exit button")) return;
        robust::RealKey(VK_SPACE);
        exited = WaitFor([&] { return !IsWindow(window_); }, 5000, "the window to close");
    });
    EXPECT_EQ(questions.load(), 1);
    EXPECT_TRUE(exited.load());
    EXPECT_EQ(GetFileAttributesW((tree.Root() + L"a.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((tree.Root() + L"b.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW((tree.Root() + L"keep.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    TakeQuit();
}

}  // namespace
