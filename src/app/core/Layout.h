#pragma once
// The window layouts, in twips (1/1440 inch), each control in tab order. The windows create
// their controls from these tables and the tests check the real windows against them.
#include <cstddef>
#include <string_view>

namespace qorvani {

enum class ControlKind { FlatButton, Label, TextBox, CheckBox, ListView, StatusBar };

struct ControlLayout {
    int id;                  // the control's window identifier
    std::wstring_view name;  // designer name, e.g. L"FlatCommand4"
    int index;               // index within a control array, -1 for none
    ControlKind kind;
    std::wstring_view text;  // text at start
    int left, top, width, height;
    int tab;
};

// Main window control identifiers.
enum MainControlId : int {
    kIdFlatCommand1 = 1001,  // 清除选中项目
    kIdFlatCommand2,         // 关于...
    kIdFlatCommand3,         // 退出
    kIdFlatCommand4_0,       // ← 全选
    kIdFlatCommand4_1,       // ← 全否
    kIdLabel1,
    kIdFlatCommand6,         // 开始扫描 / 停止
    kIdText1,
    kIdFlatCommand7,         // ...
    kIdLabel2,
    kIdList1,
    kIdList2,
    kIdStatusBar1,
    kIdFlatCommand4_2,       // 全选 ↑
    kIdFlatCommand4_3,       // 全否 ↑
    kIdCheck1,
};

inline constexpr int kMainClientWidthTwips = 7860;
inline constexpr int kMainClientHeightTwips = 7005;

inline constexpr wchar_t kStartupPrompt[] =
    L"请选择扫描路径，然后点击“开始扫描”对指定的文件夹进行扫描！";
inline constexpr wchar_t kResultCaptionAtStart[] = L"扫描结果：";
inline constexpr wchar_t kInitialScanPath[] = L"C:\\";

inline constexpr ControlLayout kMainLayout[] = {
    {kIdFlatCommand1, L"FlatCommand1", -1, ControlKind::FlatButton, L"清除选中项目", 5640, 840, 2055, 375, 0},
    {kIdFlatCommand2, L"FlatCommand2", -1, ControlKind::FlatButton, L"关于...", 5640, 5760, 2055, 375, 1},
    {kIdFlatCommand3, L"FlatCommand3", -1, ControlKind::FlatButton, L"退出", 5640, 6240, 2055, 375, 2},
    {kIdFlatCommand4_0, L"FlatCommand4", 0, ControlKind::FlatButton, L"\u2190 全选", 4440, 360, 1095, 375, 3},
    {kIdFlatCommand4_1, L"FlatCommand4", 1, ControlKind::FlatButton, L"\u2190 全否", 4440, 840, 1095, 375, 4},
    {kIdLabel1, L"Label1", -1, ControlKind::Label, kResultCaptionAtStart, 30, 120, 7695, 255, 5},
    {kIdFlatCommand6, L"FlatCommand6", -1, ControlKind::FlatButton, L"开始扫描", 5640, 360, 2055, 375, 6},
    {kIdText1, L"Text1", -1, ControlKind::TextBox, kInitialScanPath, 4350, 1680, 3135, 270, 7},
    {kIdFlatCommand7, L"FlatCommand7", -1, ControlKind::FlatButton, L"...", 7500, 1680, 270, 270, 8},
    {kIdLabel2, L"Label2", -1, ControlKind::Label, L"扫描路径：", 4320, 1440, 975, 255, 9},
    {kIdList1, L"List1", -1, ControlKind::ListView, L"", 30, 360, 4215, 6330, 10},
    {kIdList2, L"List2", -1, ControlKind::ListView, L"", 4350, 2040, 3375, 3600, 11},
    {kIdStatusBar1, L"StatusBar1", -1, ControlKind::StatusBar, kStartupPrompt, 0, 6705, 7860, 300, 12},
    {kIdFlatCommand4_2, L"FlatCommand4", 2, ControlKind::FlatButton, L"全选 \u2191", 4440, 5760, 1095, 375, 13},
    {kIdFlatCommand4_3, L"FlatCommand4", 3, ControlKind::FlatButton, L"全否 \u2191", 4440, 6240, 1095, 375, 14},
    {kIdCheck1, L"Check1", -1, ControlKind::CheckBox, L"所有硬盘驱动器", 6000, 1420, 1695, 255, 15},
};

struct ColumnLayout {
    std::wstring_view header;
    int widthTwips;
};

inline constexpr ColumnLayout kList1Columns[] = {
    {L"扫描到的文件", 4000}, {L"文件大小(KB)", 1440}, {L" ", 20}};
inline constexpr ColumnLayout kList2Columns[] = {
    {L"文件类型", 1500}, {L"文件说明", 3000}, {L" ", 100}};

// About window.
enum AboutControlId : int { kIdAboutLabel1 = 2001, kIdAboutOk, kIdAboutText1 };
inline constexpr int kAboutClientWidthTwips = 5295;
inline constexpr int kAboutClientHeightTwips = 3765;
inline constexpr ControlLayout kAboutLayout[] = {
    {kIdAboutLabel1, L"Label1", -1, ControlKind::Label, L"", 120, 120, 4995, 2595, 0},
    {kIdAboutOk, L"FlatCommand1", -1, ControlKind::FlatButton, L"确定", 2040, 3240, 1335, 375, 1},
    {kIdAboutText1, L"Text1", -1, ControlKind::TextBox, L"", 60, 2880, 5055, 315, 2},
};

// Twips to pixels at the given dots per inch, rounded to the nearest pixel (as MulDiv rounds).
constexpr int TwipsToPixels(int twips, int dpi) {
    const long long product = static_cast<long long>(twips) * dpi;
    return static_cast<int>(product >= 0 ? (product + 720) / 1440 : -((-product + 720) / 1440));
}

// The layout row of a control identifier, or nullptr.
template <std::size_t N>
constexpr const ControlLayout* FindControl(const ControlLayout (&table)[N], int id) {
    for (const auto& row : table)
        if (row.id == id) return &row;
    return nullptr;
}

}  // namespace qorvani
