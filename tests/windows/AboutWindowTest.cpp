// The About window: modal to the main window, a fresh window every time, closed with OK.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

#include "QorvaniVersion.h"
#include "MainWindowFixture.h"
#include "WinTestSupport.h"
#include "about/win32/AboutWindow.h"
#include "app/core/Layout.h"
#include "app/win32/MainWindow.h"
#include "common/win32/ControlFactory.h"

using namespace qorvani;
using namespace wintest;

namespace {

struct AboutSeen {
    bool found = false, ownedByMain = false, mainDisabled = false;
    std::wstring caption, label, contact, fontFace;
    int fontHeight = 0, charset = 0, clientWidth = 0, clientHeight = 0;
    LONG style = 0;
    bool loopEnded = false;  // the modal loop returned once its window was closed
    bool inTableOrder = false;  // the children's z order (the tab order) is the layout table's
};

// Waits for the About window, looks at it while it is shown, then presses its OK. Runs on a
// second thread while the main window's thread is inside the About window's modal loop, which
// handles the messages sent from here.
AboutSeen InspectAndClose(HWND main, DWORD mainThread, const std::atomic<bool>& clickReturned) {
    AboutSeen seen;
    HWND about = nullptr;
    if (!WaitFor(
            [&] {
                about = FindWindowW(kAboutWindowClass, nullptr);
                return about != nullptr && IsWindowVisible(about);
            },
            10000, "the About window"))
        return seen;
    seen.found = true;
    seen.ownedByMain = GetWindow(about, GW_OWNER) == main;
    seen.mainDisabled = !IsWindowEnabled(main);
    seen.caption = Text(about);
    seen.label = Text(GetDlgItem(about, kIdAboutText));
    seen.contact = Text(GetDlgItem(about, kIdAboutContactBox));
    seen.style = GetWindowLongW(about, GWL_STYLE);
    HWND child = GetWindow(about, GW_CHILD);
    seen.inTableOrder = true;
    for (const ControlLayout& row : kAboutLayout) {
        seen.inTableOrder = seen.inTableOrder && child == GetDlgItem(about, row.id);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    seen.inTableOrder = seen.inTableOrder && child == nullptr;
    RECT client;
    GetClientRect(about, &client);
    seen.clientWidth = client.right;
    seen.clientHeight = client.bottom;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(about, kIdAboutContactBox), WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    if (font && GetObjectW(font, sizeof(logFont), &logFont)) {
        seen.fontFace = logFont.lfFaceName;
        seen.fontHeight = logFont.lfHeight;
        seen.charset = logFont.lfCharSet;
    }
    // Sent from this thread: the window goes inside a message that does not make the modal
    // loop's GetMessageW return. The loop must still end.
    ClickFlat(GetDlgItem(about, kIdAboutOkButton));
    seen.loopEnded = WaitFor([&] { return clickReturned.load(); }, 5000, "the About window's loop to end");
    if (!seen.loopEnded) PostThreadMessageW(mainThread, WM_NULL, 0, 0);  // lets the test go on
    return seen;
}

using AboutWindowTest = MainWindowFixture;

TEST_F(AboutWindowTest, OpensModallyTwiceWithTheSameTextAndClosesWithOk) {
    HWND main = window_;
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);

    AboutSeen first, second;
    for (AboutSeen* seen : {&first, &second}) {
        std::atomic<bool> clickReturned{false};
        std::thread inspector([&] { *seen = InspectAndClose(main, GetCurrentThreadId(), clickReturned); });
        ClickFlat(GetDlgItem(main, kIdAboutButton));  // returns once the About window is closed
        clickReturned = true;
        inspector.join();
        EXPECT_TRUE(seen->loopEnded);
        EXPECT_EQ(FindWindowW(kAboutWindowClass, nullptr), nullptr);
        EXPECT_TRUE(IsWindowEnabled(main));
    }
    ASSERT_TRUE(first.found);
    EXPECT_TRUE(first.ownedByMain);
    EXPECT_TRUE(first.mainDisabled);
    EXPECT_EQ(first.caption, L"关于");
    EXPECT_EQ(first.label.rfind(L"Qorvani\r\n\r\n", 0), 0u);
    EXPECT_GT(first.label.size(), 12u);
    // The version shown is the build's, from project() in CMakeLists.txt.
    EXPECT_NE(first.label.find(L"\r\n垃圾文件清理工具 " QORVANI_VERSION_WTEXT L"\r\n"), std::wstring::npos);
    EXPECT_FALSE(first.contact.empty());
    EXPECT_EQ(first.fontFace, L"宋体");
    EXPECT_EQ(first.fontHeight, -MulDiv(105, dpi, 720));
    EXPECT_EQ(first.charset, GB2312_CHARSET);
    EXPECT_EQ(first.clientWidth, TwipsToPixels(kAboutClientWidthTwips, dpi));
    EXPECT_EQ(first.clientHeight, TwipsToPixels(kAboutClientHeightTwips, dpi));
    EXPECT_FALSE(first.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(first.inTableOrder);
    EXPECT_EQ(second.label, first.label);
    EXPECT_EQ(second.contact, first.contact);

    // The main window works as before.
    ClickFlat(GetDlgItem(main, kIdExitButton));
    EXPECT_FALSE(IsWindow(main));
    EXPECT_TRUE(TakeQuit());
}

// Moved to a 144 DPI monitor (the message Windows sends then; Wine never does), the About
// window lays its table out at 144 DPI and makes its fonts for it.
TEST_F(AboutWindowTest, AfterADpiChangeItsControlsStandWhereTheLayoutPutsThem) {
    HWND main = window_;
    std::atomic<bool> clickReturned{false};
    std::vector<std::pair<RECT, RECT>> placed;  // (where it stands, where the layout puts it)
    LONG contactHeight = 0;
    RECT client{};
    std::thread inspector([&] {
        HWND about = nullptr;
        if (!WaitFor([&] { return (about = FindWindowW(kAboutWindowClass, nullptr)) && IsWindowVisible(about); }, 10000,
                     "the About window"))
            return;
        RECT frame{0, 0, TwipsToPixels(kAboutClientWidthTwips, 144), TwipsToPixels(kAboutClientHeightTwips, 144)};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(about, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(about, GWL_EXSTYLE)));
        SendMessageW(about, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&frame));
        GetClientRect(about, &client);
        for (const ControlLayout& row : kAboutLayout) placed.emplace_back(ChildRect(GetDlgItem(about, row.id)), LayoutPixelRect(row, 144));
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(about, kIdAboutContactBox), WM_GETFONT, 0, 0)),
                   sizeof(font), &font);
        contactHeight = font.lfHeight;
        ClickFlat(GetDlgItem(about, kIdAboutOkButton));
        WaitFor([&] { return clickReturned.load(); }, 5000, "the About window's loop to end");
    });
    ClickFlat(GetDlgItem(main, kIdAboutButton));
    clickReturned = true;
    inspector.join();
    EXPECT_EQ(client.right, TwipsToPixels(kAboutClientWidthTwips, 144));
    EXPECT_EQ(client.bottom, TwipsToPixels(kAboutClientHeightTwips, 144));
    ASSERT_EQ(placed.size(), std::size(kAboutLayout));
    for (const auto& [at, expected] : placed) {
        EXPECT_EQ(at.left, expected.left);
        EXPECT_EQ(at.top, expected.top);
        EXPECT_EQ(at.right, expected.right);
        EXPECT_EQ(at.bottom, expected.bottom);
    }
    EXPECT_EQ(contactHeight, -MulDiv(105, 144, 720));  // 宋体 10.5 points at 144 DPI
}

}  // namespace
