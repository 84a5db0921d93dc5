#pragma once
// The main window's layout, in twips (1/1440 inch), each control in tab order. The window creates
// its controls from this table and the tests check the real window against it.
#include <string_view>

#include "about/core/AboutLayout.h"
#include "common/core/ControlLayout.h"

namespace qorvani {

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

inline constexpr ColumnLayout kList1Columns[] = {
    {L"扫描到的文件", 4000}, {L"文件大小(KB)", 1440}, {L" ", 20}};
inline constexpr ColumnLayout kList2Columns[] = {
    {L"文件类型", 1500}, {L"文件说明", 3000}, {L" ", 100}};

inline constexpr ControlLayout kMainLayout[] = {
    {kIdFlatCommand1, L"delete button", ControlKind::FlatButton, L"清除选中项目", 5640, 840, 2055, 375, 0},
    {kIdFlatCommand2, L"about button", ControlKind::FlatButton, L"关于...", 5640, 5760, 2055, 375, 1},
    {kIdFlatCommand3, L"exit button", ControlKind::FlatButton, L"退出", 5640, 6240, 2055, 375, 2},
    {kIdFlatCommand4_0, L"check-all-results button", ControlKind::FlatButton, L"\u2190 全选", 4440, 360, 1095, 375, 3},
    {kIdFlatCommand4_1, L"check-no-results button", ControlKind::FlatButton, L"\u2190 全否", 4440, 840, 1095, 375, 4},
    {kIdLabel1, L"result caption", ControlKind::Label, kResultCaptionAtStart, 30, 120, 7695, 255, 5},
    {kIdFlatCommand6, L"scan button", ControlKind::FlatButton, L"开始扫描", 5640, 360, 2055, 375, 6},
    {kIdText1, L"path box", ControlKind::TextBox, kInitialScanPath, 4350, 1680, 3135, 270, 7},
    {kIdFlatCommand7, L"browse button", ControlKind::FlatButton, L"...", 7500, 1680, 270, 270, 8},
    {kIdLabel2, L"path caption", ControlKind::Label, L"扫描路径：", 4320, 1440, 975, 255, 9},
    {kIdList1, L"result list", ControlKind::ListView, L"", 30, 360, 4215, 6330, 10, kList1Columns, true},
    {kIdList2, L"type list", ControlKind::ListView, L"", 4350, 2040, 3375, 3600, 11, kList2Columns, false},
    {kIdStatusBar1, L"status bar", ControlKind::StatusBar, kStartupPrompt, 0, 6705, 7860, 300, 12},
    {kIdFlatCommand4_2, L"check-all-types button", ControlKind::FlatButton, L"全选 \u2191", 4440, 5760, 1095, 375, 13},
    {kIdFlatCommand4_3, L"check-no-types button", ControlKind::FlatButton, L"全否 \u2191", 4440, 6240, 1095, 375, 14},
    {kIdCheck1, L"all-drives box", ControlKind::CheckBox, L"所有硬盘驱动器", 6000, 1420, 1695, 255, 15},
};

}  // namespace qorvani
