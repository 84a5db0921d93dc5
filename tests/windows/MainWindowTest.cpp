// The real main window under test: created as the program creates it, driven by mouse messages,
// read back through the controls' own state.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "MainWindowFixture.h"
#include "WinTestSupport.h"
#include "app/core/FontFit.h"
#include "app/core/Layout.h"
#include "app/win32/WindowFont.h"
#include "app/win32/MainWindow.h"
#include "common/win32/ControlFactory.h"
#include "common/win32/WindowClass.h"
#include "controls/win32/FlatButton.h"

using namespace qorvani;
using namespace wintest;

namespace {

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, StartsInItsFixedInitialState) {
    EXPECT_EQ(Text(Item(kIdPathBox)), L"C:\\");
    EXPECT_EQ(SendMessageW(Item(kIdAllDrivesBox), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(RowCount(Item(kIdResultList)), 0);
    EXPECT_EQ(Text(Item(kIdResultCaption)), L"扫描结果：");
    EXPECT_EQ(StatusText(Item(kIdStatusBar)),
              L"请选择扫描路径，然后点击“开始扫描”对指定的文件夹进行扫描！");
    EXPECT_TRUE(Main().CurrentActiveMasks().empty());

    HWND types = Item(kIdTypeList);
    ASSERT_EQ(RowCount(types), 26);
    wchar_t expected[256];
    for (int row = 0; row < 26; ++row) {
        ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), 101 + row, expected, 256), 0);
        EXPECT_EQ(RowText(types, row), expected) << row;
        ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), 1010 + row, expected, 256), 0);
        EXPECT_EQ(RowText(types, row, 1), expected) << row;
        EXPECT_EQ(RowText(types, row, 2), L"");
        EXPECT_FALSE(RowChecked(types, row));
    }
    EXPECT_EQ(RowText(types, 0), L"~*.*");
    EXPECT_EQ(RowText(types, 20), L"*.#Res");
    EXPECT_EQ(RowText(types, 25), L"0???????.nch");
    EXPECT_EQ(RowText(types, 16, 1), L"Win 2000/XP内存转储文件");
    EXPECT_EQ(RowText(types, 25, 1), L"新闻组临时缓存数据文件");
}

TEST_F(MainWindowTest, WindowAndControlsFollowTheLayout) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);

    EXPECT_EQ(Text(window_).rfind(L"Qorvani     ", 0), 0u);
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_CAPTION);
    RECT client;
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, TwipsToPixels(kMainClientWidthTwips, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(kMainClientHeightTwips, dpi));
    RECT frame;
    GetWindowRect(window_, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_NE(SendMessageW(window_, WM_GETICON, ICON_BIG, 0) != 0 || GetClassLongPtrW(window_, GCLP_HICON) != 0, 0);

    // Every control at its place, and the children's z order is the tab order.
    HWND child = GetWindow(window_, GW_CHILD);
    for (const ControlLayout& row : kMainLayout) {
        SCOPED_TRACE(std::wstring(row.role));
        HWND control = Item(row.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(child, control);
        child = GetWindow(child, GW_HWNDNEXT);
        const RECT r = ChildRect(control);
        EXPECT_EQ(r.left, TwipsToPixels(row.left, dpi));
        EXPECT_EQ(r.top, TwipsToPixels(row.top, dpi));
        EXPECT_EQ(r.right - r.left, TwipsToPixels(row.width, dpi));
        EXPECT_EQ(r.bottom - r.top, TwipsToPixels(row.height, dpi));
        // What each control shows is its window text, the flat buttons included.
        if (row.kind == ControlKind::FlatButton || row.kind == ControlKind::Label ||
            row.kind == ControlKind::TextBox || row.kind == ControlKind::CheckBox)
            EXPECT_EQ(Text(control), row.text);
        if (row.kind == ControlKind::FlatButton) {
            wchar_t cls[64];
            GetClassNameW(control, cls, 64);
            EXPECT_STREQ(cls, kFlatButtonClassName);
        }
    }
    // The status bar is docked at the bottom of the client area.
    const RECT bar = ChildRect(Item(kIdStatusBar));
    EXPECT_EQ(bar.bottom, client.bottom);
}

// The controls' font is the default GUI font's face; its line fits inside the path box at the screen's
// DPI (measured on the real box) and at 96, 120 and 144 DPI (the font made for each).
TEST_F(MainWindowTest, ControlsUseTheDefaultFontWhoseLineFitsTheTextBox) {
    LOGFONTW standard{}, used{};
    ASSERT_EQ(GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(standard), &standard), static_cast<int>(sizeof(standard)));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(Item(kIdPathBox), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(GetObjectW(font, sizeof(used), &used), static_cast<int>(sizeof(used)));
    EXPECT_STREQ(used.lfFaceName, standard.lfFaceName);
    for (int id : {kIdResultList, kIdTypeList, kIdAllDrivesBox, kIdResultCaption, kIdStatusBar})
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Item(id), WM_GETFONT, 0, 0)), font) << id;
    RECT client{};
    GetClientRect(Item(kIdPathBox), &client);
    EXPECT_LE(FontLineHeight(font), client.bottom - client.top);
    std::printf("font %ls, %ld px: line %d px in a box of %ld px\n", used.lfFaceName, -used.lfHeight,
                FontLineHeight(font), client.bottom - client.top);

    const int dpi_system = SystemDpi();
    std::printf("the default GUI font: %ld px at a system DPI of %d\n", standard.lfHeight, dpi_system);
    for (int dpi : {96, 120, 144}) {
        HFONT made = CreateWindowFont(dpi);
        ASSERT_NE(made, nullptr);
        LOGFONTW at{};
        GetObjectW(made, sizeof(at), &at);
        const int line = FontLineHeight(made);
        EXPECT_GT(line, 0);
        EXPECT_LE(line, PathBoxLineSpace(dpi)) << dpi;
        EXPECT_LE(-at.lfHeight, FontHeightAt(standard.lfHeight, dpi_system, dpi)) << dpi;  // never larger than asked
        std::printf("at %d DPI: %ld px, line %d px of %d\n", dpi, -at.lfHeight, line, PathBoxLineSpace(dpi));
        DeleteObject(made);
    }
}

TEST_F(MainWindowTest, ListsAreFlatCheckedReportsThatRefuseEditing) {
    for (int id : {kIdResultList, kIdTypeList}) {
        HWND list = Item(id);
        EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES);
        HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        ASSERT_NE(header, nullptr);
        EXPECT_FALSE(GetWindowLongW(header, GWL_STYLE) & HDS_BUTTONS);
        EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(SendMessageW(Item(kIdResultList), LVM_GETCOLUMNWIDTH, column, 0),
                  TwipsToPixels(kResultListColumns[column].widthTwips, dpi));
        EXPECT_EQ(SendMessageW(Item(kIdTypeList), LVM_GETCOLUMNWIDTH, column, 0),
                  TwipsToPixels(kTypeListColumns[column].widthTwips, dpi));
    }
    // An edit asked for is refused, and the text stays.
    EXPECT_EQ(SendMessageW(Item(kIdTypeList), LVM_EDITLABELW, 3, 0), 0);
    EXPECT_EQ(RowText(Item(kIdTypeList), 3), L"*.bak");
}

TEST_F(MainWindowTest, TypeRowClicksRebuildActiveMasksInRowOrder) {
    HWND types = Item(kIdTypeList);
    ClickRowCheckBox(types, 20);
    EXPECT_TRUE(RowChecked(types, 20));
    ASSERT_EQ(Main().CurrentActiveMasks().size(), 1u);
    EXPECT_EQ(Main().CurrentActiveMasks()[0], L"*.#RES");
    EXPECT_EQ(Main().CurrentActiveMasks(), ActiveMasks{L"*.#RES"});

    ClickRowCheckBox(types, 20);
    EXPECT_FALSE(RowChecked(types, 20));
    EXPECT_TRUE(Main().CurrentActiveMasks().empty());

    for (int row : {9, 1, 4}) ClickRowCheckBox(types, row);
    const ActiveMasks& masks = Main().CurrentActiveMasks();
    ASSERT_EQ(masks.size(), 3u);
    EXPECT_EQ(masks[0], L"*.TMP");
    EXPECT_EQ(masks[1], L"*.??~");
    EXPECT_EQ(masks[2], L"*.OLD");
}

TEST_F(MainWindowTest, AllDrivesBoxShowsTheFixedDrivesAndClearingRestoresCDrive) {
    HWND path = Item(kIdPathBox);
    SetWindowTextW(path, L"D:\\Somewhere");
    ClickControl(Item(kIdAllDrivesBox));
    EXPECT_EQ(SendMessageW(Item(kIdAllDrivesBox), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Text(path), Main().FixedDriveText());
    EXPECT_FALSE(IsWindowEnabled(path));
    EXPECT_FALSE(IsWindowEnabled(Item(kIdBrowseButton)));

    ClickControl(Item(kIdAllDrivesBox));
    EXPECT_EQ(Text(path), L"C:\\");
    EXPECT_TRUE(IsWindowEnabled(path));
    EXPECT_TRUE(IsWindowEnabled(Item(kIdBrowseButton)));

    // The drive text is the fixed drives joined, as the system lists them.
    std::wstring joined;
    for (const auto& drive : Main().CurrentFixedDrives()) joined += drive;
    EXPECT_EQ(joined, Main().FixedDriveText());
    // In the project's prefixes C: is the one fixed drive (Z: is declared a network drive); it is
    // no subst letter and no second letter of a volume.
    EXPECT_EQ(Main().FixedDriveText(), L"C:\\");
}

TEST_F(MainWindowTest, ExitEndsTheProgram) {
    ClickFlat(Item(kIdExitButton));
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(TakeQuit());
}

TEST_F(MainWindowTest, ClosingTheFrameEndsTheProgram) {
    SendMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump(20);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(TakeQuit());
}

// Check boxes changed by the program are announced to accessibility tools: one state change per
// row (the child id is the row number from 1) for a pass within a screenful of rows; past one,
// the rows' events are held and one reorder event on the list tells it at the pass's end.
std::vector<std::pair<HWND, LONG>> g_stateChanges;
std::vector<HWND> g_reorders;
void CALLBACK OnStateChange(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (object != OBJID_CLIENT) return;
    if (event == EVENT_OBJECT_STATECHANGE) g_stateChanges.emplace_back(window, child);
    if (event == EVENT_OBJECT_REORDER && child == CHILDID_SELF) g_reorders.push_back(window);
}

TEST_F(MainWindowTest, ChecksSetByTheProgramAreAnnouncedPerRowOrOnceForAPassPastAScreenful) {
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_STATECHANGE, nullptr, OnStateChange,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    auto clear = [] {
        g_stateChanges.clear();
        g_reorders.clear();
    };
    auto changesOf = [](HWND list) {
        std::vector<LONG> rows;
        for (const auto& [window, child] : g_stateChanges)
            if (window == list) rows.push_back(child);
        return rows;
    };
    auto reordersOf = [](HWND list) { return std::count(g_reorders.begin(), g_reorders.end(), list); };
    // The type list's 26 rows reach past what it shows at once.
    HWND types = Item(kIdTypeList);
    ASSERT_LT(SendMessageW(types, LVM_GETCOUNTPERPAGE, 0, 0), 26);
    clear();
    ClickFlat(Item(kIdCheckAllTypesButton));
    Pump(100);
    EXPECT_EQ(reordersOf(types), 1);

    // The result list keeps its check boxes itself: its changes are announced by the program
    // alone. Two rows, within a screenful: one event per row, as for the user's own click.
    HWND list = Item(kIdResultList);
    TempTree tree;
    tree.File(L"one.tmp", 1);
    tree.File(L"two.tmp", 2);
    SetWindowTextW(Item(kIdPathBox), tree.Root().c_str());
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(RowCount(list), 2);
    clear();
    ClickFlat(Item(kIdCheckAllResultsButton));
    ClickRowCheckBox(list, 0);  // the user's own click, too
    Pump(100);
    EXPECT_EQ(changesOf(list), (std::vector<LONG>{1, 2, 1}));
    EXPECT_EQ(reordersOf(list), 0);

    // Sixty rows, past a screenful: no row's event, one for the list.
    for (int i = 0; i < 60; ++i) tree.File(L"many" + std::to_wstring(i) + L".tmp", 1);
    ClickFlat(Item(kIdScanButton));
    ASSERT_EQ(RowCount(list), 62);
    ASSERT_LT(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0), 62);
    clear();
    ClickFlat(Item(kIdCheckAllResultsButton));
    Pump(100);
    EXPECT_TRUE(changesOf(list).empty()) << changesOf(list).size() << " row events";
    EXPECT_EQ(reordersOf(list), 1);

    // Rows already in the target state change nothing and raise nothing.
    clear();
    ClickFlat(Item(kIdCheckAllTypesButton));
    ClickFlat(Item(kIdCheckAllResultsButton));
    Pump(50);
    EXPECT_TRUE(changesOf(types).empty());
    EXPECT_TRUE(changesOf(list).empty());
    EXPECT_TRUE(g_reorders.empty());
    UnhookWinEvent(hook);
}

// A change of the system's colours reaches the lists (their colours read again) and the flat
// buttons (forced into High Contrast here, they draw the new button text).
TEST_F(MainWindowTest, ColourChangesReachTheListsAndTheButtons) {
    const int elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNTEXT};
    COLORREF saved[3];
    for (int i = 0; i < 3; ++i) saved[i] = GetSysColor(elements[i]);
    HWND scan = Item(kIdScanButton);
    SendMessageW(scan, FBM_SETHIGHCONTRAST, 1, 0);
    const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 0), RGB(255, 255, 254)};
    ASSERT_TRUE(SetSysColors(3, elements, dark));
    SendMessageW(window_, WM_SYSCOLORCHANGE, 0, 0);
    for (int id : {kIdResultList, kIdTypeList}) {
        EXPECT_EQ(static_cast<COLORREF>(SendMessageW(Item(id), LVM_GETBKCOLOR, 0, 0)), RGB(0, 0, 0)) << id;
        EXPECT_EQ(static_cast<COLORREF>(SendMessageW(Item(id), LVM_GETTEXTCOLOR, 0, 0)), RGB(255, 255, 0)) << id;
    }
    EXPECT_EQ(SendMessageW(scan, FBM_GETCAPTIONCOLOR, 0, 0), 0xFFFFFE);
    ASSERT_TRUE(SetSysColors(3, elements, saved));
    SendMessageW(window_, WM_SYSCOLORCHANGE, 0, 0);
    SendMessageW(scan, FBM_SETHIGHCONTRAST, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(Item(kIdTypeList), LVM_GETBKCOLOR, 0, 0)), saved[0]);
}

TEST_F(MainWindowTest, AfterADpiChangeEveryControlStandsWhereTheLayoutPutsItAtThatDpi) {
    HWND types = Item(kIdTypeList);
    ClickRowCheckBox(types, 3);
    ASSERT_TRUE(RowChecked(types, 3));
    LOGFONTW stock{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    const int systemDpi = SystemDpi();
    EXPECT_EQ(Main().Dpi(), WindowDpi(window_));  // laid out at its monitor's DPI from the start
    for (int dpi : {144, 120, systemDpi}) {
        SCOPED_TRACE(dpi);
        ChangeDpi(window_, dpi);
        EXPECT_EQ(Main().Dpi(), dpi);
        RECT client{};
        GetClientRect(window_, &client);
        EXPECT_EQ(client.right, TwipsToPixels(kMainClientWidthTwips, dpi));
        EXPECT_EQ(client.bottom, TwipsToPixels(kMainClientHeightTwips, dpi));
        RECT frame{};
        GetWindowRect(window_, &frame);
        EXPECT_EQ(frame.left, 40);  // the place the message suggests
        EXPECT_EQ(frame.top, 30);
        if (dpi == systemDpi) {
            // Asked for the frame at the DPI its frame is drawn at (Wine draws every frame at the
            // system DPI), the window names the frame it has, the one that holds the layout.
            SIZE asked{1, 1};
            EXPECT_TRUE(SendMessageW(window_, 0x02E4 /* WM_GETDPISCALEDSIZE */, dpi, reinterpret_cast<LPARAM>(&asked)));
            EXPECT_EQ(asked.cx, frame.right - frame.left);
            EXPECT_EQ(asked.cy, frame.bottom - frame.top);
        }
        const auto font = reinterpret_cast<HFONT>(SendMessageW(Item(kIdPathBox), WM_GETFONT, 0, 0));
        LOGFONTW used{};
        ASSERT_EQ(GetObjectW(font, sizeof(used), &used), static_cast<int>(sizeof(used)));
        // Scaled once from the stock font's own DPI, smaller only where a line would not fit.
        const int wanted = FontHeightAt(stock.lfHeight, systemDpi, dpi);
        EXPECT_LE(-used.lfHeight, wanted);
        EXPECT_LE(FontLineHeight(font), PathBoxLineSpace(dpi));
        if (dpi == 144) EXPECT_EQ(-used.lfHeight, wanted);  // its line fits at 144 DPI: no smaller
        std::printf("at %d DPI: font %ld px (wanted %d), line %d px of %d\n", dpi, -used.lfHeight, wanted,
                    FontLineHeight(font), PathBoxLineSpace(dpi));
        for (const ControlLayout& row : kMainLayout) {
            SCOPED_TRACE(std::wstring(row.role));
            const RECT r = ChildRect(Item(row.id));
            const RECT expected = LayoutPixelRect(row, dpi);
            EXPECT_EQ(r.left, expected.left);
            EXPECT_EQ(r.top, expected.top);
            EXPECT_EQ(r.right, expected.right);
            EXPECT_EQ(r.bottom, expected.bottom);
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Item(row.id), WM_GETFONT, 0, 0)), font);
            if (row.kind == ControlKind::FlatButton) {
                RECT label{};
                SendMessageW(Item(row.id), FBM_GETLABELRECT, 0, reinterpret_cast<LPARAM>(&label));
                EXPECT_NEAR(label.left + label.right, expected.right - expected.left, 1);  // centred again
            }
        }
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(SendMessageW(Item(kIdResultList), LVM_GETCOLUMNWIDTH, column, 0),
                      TwipsToPixels(kResultListColumns[column].widthTwips, dpi));
            EXPECT_EQ(SendMessageW(types, LVM_GETCOLUMNWIDTH, column, 0),
                      TwipsToPixels(kTypeListColumns[column].widthTwips, dpi));
        }
        // The check boxes' images made again, the checks kept.
        EXPECT_TRUE(SendMessageW(types, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES);
        EXPECT_TRUE(RowChecked(types, 3));
        EXPECT_FALSE(RowChecked(types, 4));
        ASSERT_EQ(Main().CurrentActiveMasks().size(), 1u);
        EXPECT_EQ(Main().CurrentActiveMasks()[0], L"*.BAK");
    }
}

}  // namespace
