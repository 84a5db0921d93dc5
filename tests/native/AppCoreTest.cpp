#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "scan/core/FixedDrives.h"
#include "app/core/FontFit.h"
#include "app/core/PathElision.h"
#include "app/core/PointedRows.h"
#include "app/core/ListExport.h"
#include "app/core/ResultMenu.h"
#include "checklist/core/CheckedTotal.h"
#include "app/core/RowCountCadence.h"
#include "app/core/RowSearch.h"
#include "app/core/Layout.h"
#include "common/core/DpiFrame.h"

using namespace qorvani;

namespace {

const std::wstring kCdE(L"C:\\\0D:\\\0E:\\\0\0", 13);

unsigned TypeOf(const std::wstring& root) { return root == L"E:\\" ? 5u /* CD-ROM */ : kDriveFixed; }

TEST(FixedDrives, TakesTheFixedOnesInSystemOrder) {
    FixedDrives drives;
    std::wstring text = L"stale";
    CollectFixedDrives(kCdE, TypeOf, drives, text);
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0], L"C:\\");
    EXPECT_EQ(drives[1], L"D:\\");
    EXPECT_EQ(text, L"C:\\D:\\");
}

TEST(FixedDrives, SubstLettersAndSecondLettersOfAVolumeAreLeftOut) {
    // C: and D: are volumes; S: is a subst of C:\Work; E: is a second letter of D:'s volume;
    // F: is fixed but its volume cannot be named.
    const std::wstring buffer(L"C:\\\0D:\\\0E:\\\0F:\\\0S:\\\0\0", 16);
    auto facts = [](const std::wstring& root) {
        if (root == L"S:\\") return DriveFacts{kDriveFixed, true, L""};
        if (root == L"F:\\") return DriveFacts{kDriveFixed, false, L""};
        return DriveFacts{kDriveFixed, false, root == L"C:\\" ? L"\\\\?\\Volume{c}\\" : L"\\\\?\\Volume{d}\\"};
    };
    FixedDrives drives;
    std::wstring text;
    CollectFixedDrives(buffer, facts, drives, text);
    EXPECT_EQ(text, L"C:\\D:\\F:\\");
}

TEST(FixedDrives, LastEntryAndEdgeBuffers) {
    FixedDrives drives;
    std::wstring text;
    // The only drive, and a fixed drive that is last in the list.
    CollectFixedDrives(std::wstring(L"C:\\\0\0", 5), TypeOf, drives, text);
    EXPECT_EQ(text, L"C:\\");
    CollectFixedDrives(std::wstring(L"E:\\\0F:\\\0\0", 9), TypeOf, drives, text);
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives[0], L"F:\\");
    // A buffer that ends without the closing NUL still gives its last entry.
    EXPECT_EQ(DriveStrings(std::wstring(L"C:\\\0D:\\", 7)).size(), 2u);
    // All NUL (the call failed): nothing, and earlier contents are gone.
    CollectFixedDrives(std::wstring(255, L'\0'), TypeOf, drives, text);
    EXPECT_TRUE(drives.empty());
    EXPECT_EQ(text, L"");
    EXPECT_TRUE(DriveStrings(std::wstring()).empty());
}

TEST(FontFit, PathBoxLeavesALineOfFourteenSeventeenAndTwentyOnePixels) {
    EXPECT_EQ(PathBoxLineSpace(96), 14);   // 18 pixels less 2 + 2 of edge
    EXPECT_EQ(PathBoxLineSpace(120), 17);  // 23 less 3 + 3
    EXPECT_EQ(PathBoxLineSpace(144), 21);  // 27 less 3 + 3
    // A stock font made at 96 DPI, scaled to the window's DPI.
    EXPECT_EQ(FontHeightAt(-12, 96, 96), 12);
    EXPECT_EQ(FontHeightAt(-12, 96, 120), 15);
    EXPECT_EQ(FontHeightAt(12, 96, 144), 18);
    EXPECT_EQ(FontHeightAt(-11, 96, 120), 14);  // 13.75 rounds up
    // The same font as a system at 144 DPI gives it (already scaled): scaled once, not twice.
    for (int dpi : {96, 120, 144}) EXPECT_EQ(FontHeightAt(-18, 144, dpi), FontHeightAt(-12, 96, dpi)) << dpi;
    EXPECT_EQ(FontHeightAt(-15, 120, 144), 18);
    EXPECT_EQ(FontHeightAt(-12, 0, 96), 12);  // no DPI known: taken as 96
}

TEST(FontFit, TheDefaultSizeIsKeptWhenItFitsAndShrunkOnlyAsFarAsNeeded) {
    std::vector<int> asked;
    // A face whose line is a fifth taller than its em, rounded up.
    auto tall = [&](int height) {
        asked.push_back(height);
        return (height * 6 + 4) / 5;
    };
    EXPECT_EQ(FittingFontHeight(11, 14, tall), 11);  // 14: fits exactly
    EXPECT_EQ(asked, (std::vector<int>{11}));
    asked.clear();
    EXPECT_EQ(FittingFontHeight(13, 14, tall), 11);  // 16 and 15 do not fit
    EXPECT_EQ(asked, (std::vector<int>{13, 12, 11}));
    EXPECT_EQ(FittingFontHeight(12, 14, [](int) { return 0; }), 12);   // unmeasurable: as wanted
    EXPECT_EQ(FittingFontHeight(12, 14, [](int) { return 99; }), 1);   // nothing fits
}

// Every character is 1 wide, "W" is 3.
int Width(std::wstring_view text) {
    int width = 0;
    for (wchar_t c : text) width += c == L'W' ? 3 : 1;
    return width;
}

TEST(PathElision, TheMiddleGoesAndTheFileNameStays) {
    const std::wstring path = L"Z:\\work\\deep\\Downloads\\old.tmp";  // 30 wide
    EXPECT_EQ(ElidePath(path, 30, Width), path);
    EXPECT_EQ(ElidePath(path, 29, Width), L"Z:\\work\\deep\\Downl...\\old.tmp");
    EXPECT_EQ(ElidePath(path, 14, Width), L"Z:\\...\\old.tmp");
    EXPECT_EQ(ElidePath(path, 11, Width), L"...\\old.tmp");
    // Narrower than "...\name": the end of the name, with its type, as far as it fits.
    EXPECT_EQ(ElidePath(path, 8, Width), L"...d.tmp");
    EXPECT_EQ(ElidePath(path, 2, Width), L"...");
    // Measured, not counted: wide letters leave room for fewer of them.
    EXPECT_EQ(ElidePath(L"C:\\WWWW\\a.bak", 15, Width), L"C:\\W...\\a.bak");
    // A name without a folder is cut from its middle too.
    EXPECT_EQ(ElidePath(L"abcdefghij", 6, Width), L"...hij");
    EXPECT_EQ(ElidePath(L"", 0, Width), L"");
}

TEST(PathElision, EveryWidthGivesATextThatFitsAndKeepsTheNameWhenItCan) {
    const std::wstring path = L"D:\\Users\\\u5F20\u4E09\\AppData\\Local\\Temp\\~WRL0001.tmp";
    for (int width = 0; width <= Width(path) + 1; ++width) {
        const std::wstring shown = ElidePath(path, width, Width);
        if (width >= 3) {
            EXPECT_LE(Width(shown), width) << width;
        }
        if (width >= Width(L"...\\~WRL0001.tmp")) {
            EXPECT_TRUE(shown.ends_with(L"\\~WRL0001.tmp")) << width;
        }
        if (shown != path) {
            EXPECT_NE(shown.find(kElision), std::wstring::npos);
        }
    }
}

// A name with a character of CJK Extension B (a UTF-16 pair): the cut never splits the pair,
// whether it falls in the kept beginning or in the kept end.
TEST(PathElision, ACharacterOfTwoUnitsIsNeverCutInTwo) {
    const std::wstring ext{wchar_t(0xD840), wchar_t(0xDC00)};  // U+20000 in UTF-16, as on Windows
    auto units = [](std::wstring_view text) { return static_cast<int>(text.size()); };
    auto whole = [](std::wstring_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const wchar_t c = text[i];
            if (c >= 0xD800 && c <= 0xDBFF && (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF))
                return false;
            if (c >= 0xDC00 && c <= 0xDFFF && (i == 0 || text[i - 1] < 0xD800 || text[i - 1] > 0xDBFF)) return false;
        }
        return true;
    };
    std::wstring head, name;
    for (int i = 0; i < 6; ++i) head += ext;
    for (int i = 0; i < 8; ++i) name += ext;
    const std::wstring path = L"C:\\" + head + L"\\" + name + L".tmp";
    for (int width = 3; width <= units(path); ++width) {
        const std::wstring shown = ElidePath(path, width, units);
        EXPECT_TRUE(whole(shown)) << width;
        EXPECT_LE(units(shown), width) << width;
    }
}

TEST(RowSearch, FindsTheFirstRowFromTheStartThatBeginsWithTheTypedText) {
    const std::vector<std::wstring> rows = {L"C:\\A.TMP", L"Z:\\work\\B.TMP", L"z:\\WORK\\C.TMP", L"C:\\D.TMP"};
    auto textOf = [&](std::size_t row) { return rows[row]; };
    EXPECT_EQ(FindRow({L"z", true, 0, false}, rows.size(), textOf), 1);
    EXPECT_EQ(FindRow({L"Z:\\WORK\\C", true, 0, false}, rows.size(), textOf), 2);  // either case
    EXPECT_EQ(FindRow({L"c", true, 1, false}, rows.size(), textOf), 3);
    EXPECT_EQ(FindRow({L"z", true, 3, false}, rows.size(), textOf), -1);      // no wrap: none after
    EXPECT_EQ(FindRow({L"z", true, 3, true}, rows.size(), textOf), 1);        // wrapped to the top
    EXPECT_EQ(FindRow({L"q", true, 0, true}, rows.size(), textOf), -1);       // nothing matches
    EXPECT_EQ(FindRow({L"", true, 0, true}, rows.size(), textOf), -1);
    EXPECT_EQ(FindRow({L"C:\\A.TMP.", true, 0, true}, rows.size(), textOf), -1);  // longer than the row
    EXPECT_EQ(FindRow({L"c:\\d.tmp", false, 0, false}, rows.size(), textOf), 3);  // whole text
    EXPECT_EQ(FindRow({L"C:\\", false, 0, false}, rows.size(), textOf), -1);
    EXPECT_EQ(FindRow({L"c", true, 99, true}, rows.size(), textOf), 0);      // a start past the end
    EXPECT_EQ(FindRow({L"c", true, 99, false}, rows.size(), textOf), -1);    // ... wraps only if asked
    EXPECT_EQ(FindRow({L"c", true, 4, false}, rows.size(), textOf), -1);     // at the end
    EXPECT_EQ(FindRow({L"c", true, 4, true}, rows.size(), textOf), 0);
    EXPECT_EQ(FindRow({L"c", true, 0, true}, 0, textOf), -1);
}

TEST(RowSearch, EveryFindRequestWithATextSearchesByIt) {
    const wchar_t* typed = L"z:";
    const auto wrapOnly = RowSearchOfFind(kFindWrap, typed, 2);  // LVFI_WRAP alone: the whole text
    ASSERT_TRUE(wrapOnly.has_value());
    EXPECT_FALSE(wrapOnly->prefix);
    EXPECT_TRUE(wrapOnly->wrap);
    EXPECT_EQ(wrapOnly->start, 2u);
    EXPECT_EQ(wrapOnly->text, L"z:");
    for (unsigned flags : {kFindPartial, kFindSubstring, kFindPartial | kFindString | kFindWrap}) {
        const auto search = RowSearchOfFind(flags, typed, -1);
        ASSERT_TRUE(search.has_value()) << flags;
        EXPECT_TRUE(search->prefix) << flags;
        EXPECT_EQ(search->start, 0u) << flags;  // "from the top"
        EXPECT_EQ(search->wrap, (flags & kFindWrap) != 0) << flags;
    }
    EXPECT_FALSE(RowSearchOfFind(kFindString, typed, 0)->prefix);
    EXPECT_FALSE(RowSearchOfFind(kFindString, nullptr, 0).has_value());
    EXPECT_FALSE(RowSearchOfFind(kFindByParam, typed, 0).has_value());
    EXPECT_FALSE(RowSearchOfFind(kFindNearestPoint | kFindWrap, typed, 0).has_value());
}

TEST(Layout, TwipsConvertAtTheSystemDpi) {
    EXPECT_EQ(TwipsToPixels(kMainClientWidthTwips, 96), 524);
    EXPECT_EQ(TwipsToPixels(kMainClientHeightTwips, 96), 467);
    EXPECT_EQ(TwipsToPixels(15, 96), 1);
    EXPECT_EQ(TwipsToPixels(1440, 144), 144);
    EXPECT_EQ(TwipsToPixels(7860, 120), 655);  // 655.0
    EXPECT_EQ(TwipsToPixels(1420, 96), 95);     // 94.67 rounds up
    EXPECT_EQ(TwipsToPixels(-30, 96), -2);
}

TEST(Layout, MainTableHasUniqueIdsInsideTheClientArea) {
    std::set<int> ids;
    int rows = 0;
    for (const ControlLayout& row : kMainLayout) {
        ++rows;
        EXPECT_TRUE(ids.insert(row.id).second);
        EXPECT_GE(row.left, 0);
        EXPECT_LE(row.left + row.width, kMainClientWidthTwips) << std::string(row.role.begin(), row.role.end());
        EXPECT_LE(row.top + row.height, kMainClientHeightTwips);
    }
    EXPECT_EQ(rows, 16);
    const ControlLayout* bar = FindControl(kMainLayout, kIdStatusBar);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->top + bar->height, kMainClientHeightTwips);  // docked at the bottom
    EXPECT_EQ(FindControl(kMainLayout, kIdCheckAllTypesButton)->text, L"全选 \u2191");
    EXPECT_EQ(FindControl(kMainLayout, 12345), nullptr);
    for (const ControlLayout& row : kAboutLayout) {
        EXPECT_LE(row.left + row.width, kAboutClientWidthTwips);
        EXPECT_LE(row.top + row.height, kAboutClientHeightTwips);
    }
}

// A fixed frame with a caption, as Windows 10 draws it at each DPI (border, caption, border).
FrameMargins CaptionFrameAt(int dpi) {
    const int border = dpi >= 144 ? 4 : 3;
    return {border, 23 * dpi / 96 + border, border, border};
}

// The frame scaled as a whole from one DPI to another (rounded as MulDiv rounds), as the system
// scales it when the window does not answer WM_GETDPISCALEDSIZE.
constexpr PixelSize LinearlyScaled(PixelSize frame, int fromDpi, int toDpi) {
    const auto scale = [&](int pixels) {
        const long long product = static_cast<long long>(pixels) * toDpi;
        return static_cast<int>((product + fromDpi / 2) / fromDpi);
    };
    return fromDpi > 0 ? PixelSize{scale(frame.width), scale(frame.height)} : frame;
}

// What the window answers to WM_GETDPISCALEDSIZE, against the frame scaled as a whole (what the
// system does without that answer): only the first always leaves the client area at the layout.
TEST(Layout, TheFrameAtEveryDpiHoldsTheClientExactlyWhereTheScaledFrameDoesNot) {
    const int dpis[] = {96, 120, 144, 168, 192, 288};
    bool scaledMissed = false;
    for (int from : dpis) {
        const PixelSize frameFrom =
            FrameForClient(ClientPixels(kMainClientWidthTwips, kMainClientHeightTwips, from), CaptionFrameAt(from));
        for (int to : dpis) {
            SCOPED_TRACE(std::to_string(from) + " to " + std::to_string(to));
            const FrameMargins margins = CaptionFrameAt(to);
            const PixelSize wanted = ClientPixels(kMainClientWidthTwips, kMainClientHeightTwips, to);
            const PixelSize frame = FrameForClient(wanted, margins);
            EXPECT_EQ(frame.width - margins.left - margins.right, TwipsToPixels(kMainClientWidthTwips, to));
            EXPECT_EQ(frame.height - margins.top - margins.bottom, TwipsToPixels(kMainClientHeightTwips, to));
            const PixelSize scaled = LinearlyScaled(frameFrom, from, to);
            if (scaled != frame) scaledMissed = true;
            if (from == to) {
                EXPECT_EQ(scaled, frame);
            }
        }
    }
    EXPECT_TRUE(scaledMissed);
    // From 144 to 96 DPI: 794 by 743 scaled is 529 by 495, a client of 523 by 466, not 524 by 467.
    EXPECT_EQ(LinearlyScaled({794, 743}, 144, 96), (PixelSize{529, 495}));
    EXPECT_EQ(FrameForClient(ClientPixels(kMainClientWidthTwips, kMainClientHeightTwips, 96), CaptionFrameAt(96)),
              (PixelSize{530, 496}));
    // Laid out again where it stood: the same centre, larger or smaller.
    EXPECT_EQ(AroundCentreOf({100, 100, 630, 596}, {794, 743}), (PixelRect{-32, -23, 762, 720}));
    EXPECT_EQ(AroundCentreOf({-32, -23, 762, 720}, {530, 496}), (PixelRect{100, 100, 630, 596}));
    EXPECT_EQ(LinearlyScaled({530, 496}, 0, 96), (PixelSize{530, 496}));  // no DPI known: unchanged
}

// The menu's commands, with what they hand to the window recorded.
struct MenuView : ResultMenuView {
    std::vector<std::wstring> opened, copied;
    std::vector<std::optional<std::size_t>> reordered;
    void OpenFolderOf(const std::wstring& path) override { opened.push_back(path); }
    void CopyText(const std::wstring& text) override { copied.push_back(text); }
    void RowsReordered(std::optional<std::size_t> row) override { reordered.push_back(row); }
    std::vector<std::string> exported;
    void ExportRows(const ResultStore& rows) override { exported.push_back(ListCsv(rows)); }
};

TEST(ResultMenu, TheExportWritesEveryRowAsShownWithItsCheckAndOnlyWhenIdle) {
    ResultStore rows;
    MenuView view;
    EXPECT_FALSE(StateOf(kMenuExportList, rows, std::nullopt, false).enabled);  // no rows
    rows.Append(L"C:\\Work\\", L"a,b.tmp", 10);
    rows.Append(L"C:\\Work\\", L"Big.Tmp", 9000);
    rows.Append(L"C:\\临时\\", L" x.bak", 0);
    rows.SetChecked(1, true);
    RunResultMenuCommand(kMenuExportList, rows, std::nullopt, true, view);  // a scan runs: nothing
    EXPECT_TRUE(view.exported.empty());
    rows.Sort(RowOrder::BySize);
    RunResultMenuCommand(kMenuExportList, rows, std::nullopt, false, view);
    ASSERT_EQ(view.exported.size(), 1u);
    EXPECT_EQ(view.exported[0], "\xEF\xBB\xBFpath,size,checked\r\n"
                                "C:\\Work\\Big.Tmp,9000,true\r\n"
                                "\"C:\\Work\\a,b.tmp\",10,false\r\n"
                                "C:\\\xE4\xB8\xB4\xE6\x97\xB6\\ x.bak,0,false\r\n");
}

TEST(ResultMenu, TheFileItemsHandOnTheExactPathOfTheRowTheMenuWasOpenedOn) {
    ResultStore rows;
    rows.Append(L"C:\\Work\\", L"small.tmp", 10);
    rows.Append(L"C:\\Work\\Mixed\\", L"Report.Tmp", 9000);
    MenuView view;
    RunResultMenuCommand(kMenuOpenFolder, rows, 1, false, view);
    RunResultMenuCommand(kMenuCopyPath, rows, 1, true, view);  // a scan may run meanwhile
    EXPECT_EQ(view.opened, std::vector<std::wstring>{L"C:\\Work\\Mixed\\Report.Tmp"});
    EXPECT_EQ(view.copied, std::vector<std::wstring>{L"C:\\Work\\Mixed\\Report.Tmp"});
    EXPECT_NE(rows.DisplayText(1), view.copied[0]);  // not the upper-cased text shown
    // Without a row (a click below the last one), or past the rows, nothing is handed on.
    RunResultMenuCommand(kMenuCopyPath, rows, std::nullopt, false, view);
    RunResultMenuCommand(kMenuOpenFolder, rows, 2, false, view);
    EXPECT_EQ(view.copied.size(), 1u);
    EXPECT_EQ(view.opened.size(), 1u);
    EXPECT_FALSE(StateOf(kMenuCopyPath, rows, std::nullopt, false).enabled);
    EXPECT_TRUE(StateOf(kMenuCopyPath, rows, 0, false).enabled);
}

TEST(ResultMenu, SortItemsMarkTheOrderShownAreOffDuringAScanAndFollowTheRow) {
    ResultStore rows;
    rows.Append(L"C:\\", L"a.tmp", 10);
    rows.Append(L"C:\\", L"b.tmp", 9000);
    rows.Append(L"C:\\", L"c.tmp", 500);
    EXPECT_TRUE(StateOf(kMenuSortAsFound, rows, std::nullopt, false).marked);
    EXPECT_FALSE(StateOf(kMenuSortBySize, rows, std::nullopt, false).marked);
    for (ResultMenuCommand sort : {kMenuSortBySize, kMenuSortByPath, kMenuSortAsFound})
        EXPECT_FALSE(StateOf(sort, rows, 0, true).enabled);

    MenuView view;
    RunResultMenuCommand(kMenuSortBySize, rows, 0, true, view);  // during a scan: nothing
    EXPECT_EQ(rows.Order(), RowOrder::Found);
    EXPECT_TRUE(view.reordered.empty());

    RunResultMenuCommand(kMenuSortBySize, rows, 0, false, view);  // a.tmp, the smallest, goes last
    EXPECT_EQ(rows.Name(0), L"b.tmp");
    EXPECT_TRUE(StateOf(kMenuSortBySize, rows, std::nullopt, false).marked);
    EXPECT_FALSE(StateOf(kMenuSortAsFound, rows, std::nullopt, false).marked);
    RunResultMenuCommand(kMenuSortAsFound, rows, std::nullopt, false, view);
    EXPECT_EQ(rows.Name(0), L"a.tmp");
    EXPECT_EQ(view.reordered, (std::vector<std::optional<std::size_t>>{2u, std::nullopt}));
    EXPECT_FALSE(StateOf(kMenuSortByPath, ResultStore(), std::nullopt, false).enabled);  // no rows
    for (RowOrder order : {RowOrder::BySize, RowOrder::ByPath, RowOrder::Found}) {  // the window's own sorts
        RunResultMenuCommand(SortCommandOf(order), rows, std::nullopt, false, view);
        EXPECT_EQ(rows.Order(), order);
    }
}

TEST(PointedRows, FocusSelectionAndPageStayOnTheirFilesWhenRowsAboveThemGo) {
    ResultStore rows;
    for (const wchar_t* name : {L"a.tmp", L"b.tmp", L"c.tmp", L"d.tmp", L"e.tmp", L"f.tmp"})
        rows.Append(L"C:\\", name, 1);
    rows.Sort(RowOrder::ByPath);  // a sorted list: the order found is not the order shown
    rows.Sort(RowOrder::BySize);
    // Focus on d, c and d selected, the page from c down; row 9 is past the rows.
    const PointedRows found = FoundIndicesOf(rows, {3u, {2u, 3u, 9u}, {2u, 3u, 4u}});
    EXPECT_EQ(found.selected.size(), 2u);
    rows.KeepRows({1, 3, 4, 5});  // a and c deleted: d is now row 1, not row 3 (f)
    const PointedRows now = RowsOfFoundIndices(rows, found);
    ASSERT_TRUE(now.focused.has_value());
    EXPECT_EQ(rows.Name(*now.focused), L"d.tmp");
    EXPECT_EQ(now.selected, std::vector<std::size_t>{1u});  // c is gone: not selected in its stead
    EXPECT_EQ(now.page, (std::vector<std::size_t>{1u, 2u}));  // the page's top row still listed leads

    // The focused file deleted: no row is focused, none selected in its place.
    rows.KeepRows({0, 2, 3});
    const PointedRows gone = RowsOfFoundIndices(rows, found);
    EXPECT_FALSE(gone.focused.has_value());
    EXPECT_TRUE(gone.selected.empty());
    EXPECT_EQ(rows.Name(gone.page.at(0)), L"e.tmp");
    EXPECT_FALSE(RowsOfFoundIndices(ResultStore(), found).focused.has_value());
}

TEST(CheckedTotal, IsWrittenAsEveryNumberOfTheProgramAndShownOnlyWhileThereAreRows) {
    EXPECT_EQ(CheckedTotalText(1234, 59454260), L"已选中： 1234个， 56.7 MB");
    EXPECT_EQ(CheckedTotalText(0, 0), L"已选中： 0个， 0 MB");
    EXPECT_EQ(CheckedTotalText(1, 104857), L"已选中： 1个， 0 MB");
    EXPECT_EQ(CheckedTotalText(200000, 5368709120ull), L"已选中： 200000个， 5120 MB");

    ResultStore rows;
    EXPECT_EQ(CheckedTotalShown(rows), L"");  // no rows: no total in view
    rows.Append(L"/t/", L"a.tmp", 3 << 20);
    rows.Append(L"/t/", L"b.tmp", 1 << 20);
    EXPECT_EQ(CheckedTotalShown(rows), L"已选中： 0个， 0 MB");  // rows, none checked: the total is in view
    rows.SetChecked(0, true);
    EXPECT_EQ(CheckedTotalShown(rows), L"已选中： 1个， 3 MB");
    rows.KeepRows({1});  // the checked row deleted
    EXPECT_EQ(CheckedTotalShown(rows), L"已选中： 0个， 0 MB");
    rows.Clear();
    EXPECT_EQ(CheckedTotalShown(rows), L"");
}

// The list learns its count at a repaint at once while new rows would show on the visible page.
TEST(RowCountCadence, NewRowsOnTheVisiblePageAreToldAtEveryRepaint) {
    RowCountCadence count;
    EXPECT_FALSE(count.Behind(0));
    EXPECT_FALSE(count.DueAtRepaint(0, 0, 20, 0));  // nothing new
    EXPECT_TRUE(count.DueAtRepaint(5, 0, 20, 0));
    count.ToldAtRepaint(5, 0, 30);  // a slow one: the next below the page waits 600 ms
    EXPECT_EQ(count.Shown(), 5u);
    // 5 rows shown, a page of 20 from the top: the new rows would show, whatever the cost.
    EXPECT_TRUE(count.DueAtRepaint(6, 0, 20, 1));
    count.ToldAtRepaint(19, 1, 30);
    EXPECT_TRUE(count.DueAtRepaint(25, 0, 20, 2));   // 20 >= 19: still on the page
    count.ToldAtRepaint(20, 2, 30);
    EXPECT_TRUE(count.DueAtRepaint(25, 0, 20, 3));   // 20 >= 20: the page's last place was empty
    count.ToldAtRepaint(21, 3, 30);
    EXPECT_FALSE(count.DueAtRepaint(25, 0, 20, 4));  // below the page, and 600 ms not yet past
    EXPECT_TRUE(count.DueAtRepaint(25, 10, 20, 4));  // scrolled down: they would show again
}

// Below the visible page the count goes only as often as keeps its cost near a twentieth of the
// time, and at least once a second.
TEST(RowCountCadence, BelowThePageTheCountCostsATwentiethOfTheTimeAndGoesAtLeastEverySecond) {
    RowCountCadence count;
    count.ToldAtRepaint(100, 1000, 30);  // 30 ms: 600 ms till the next
    EXPECT_FALSE(count.DueAtRepaint(101, 0, 20, 1599));
    EXPECT_TRUE(count.DueAtRepaint(101, 0, 20, 1600));
    count.ToldAtRepaint(200, 1600, 2);  // a cheap one: 40 ms
    EXPECT_FALSE(count.DueAtRepaint(201, 0, 20, 1639));
    EXPECT_TRUE(count.DueAtRepaint(201, 0, 20, 1640));
    count.ToldAtRepaint(300, 1640, 500);  // a very slow one: a second, not 10
    EXPECT_FALSE(count.DueAtRepaint(301, 0, 20, 2639));
    EXPECT_TRUE(count.DueAtRepaint(301, 0, 20, 2640));
    EXPECT_FALSE(count.DueAtRepaint(300, 0, 20, 99999));  // nothing new: nothing to tell
    // The millisecond clock wraps (modulo 2^32).
    count.ToldAtRepaint(400, 0xFFFFFF00u, 30);
    EXPECT_FALSE(count.DueAtRepaint(401, 0, 20, 0x100u));
    EXPECT_TRUE(count.DueAtRepaint(401, 0, 20, 0x158u));  // 600 ms after
}

// Rows replaced and a command's end are told outside the cadence; an emptied list learns its
// next count at once.
TEST(RowCountCadence, RowsReplacedAreToldAtOnceAndAnEmptiedListStartsAfresh) {
    RowCountCadence count;
    count.ToldAtRepaint(100, 1000, 30);
    count.Told(150);  // rows rebuilt, a scan's end: the timing stays
    EXPECT_EQ(count.Shown(), 150u);
    EXPECT_FALSE(count.Behind(150));
    EXPECT_FALSE(count.DueAtRepaint(151, 0, 20, 1100));
    EXPECT_TRUE(count.DueAtRepaint(151, 0, 20, 1600));
    count.Emptied();
    EXPECT_EQ(count.Shown(), 0u);
    EXPECT_TRUE(count.DueAtRepaint(1, 0, 0, 1001));  // no page yet: would show
    count.Told(50);
    EXPECT_TRUE(count.DueAtRepaint(51, 0, 20, 1001));  // below the page, but no wait left from before
}

}  // namespace
