#pragma once
// The main window's layout, in twips (1/1440 inch), each control in tab order. The window creates
// its controls from this table and the tests check the real window against it.
#include <string_view>

#include "about/core/AboutLayout.h"
#include "clean/core/Selection.h"
#include "common/core/ControlLayout.h"

namespace qorvani {

// Main window control identifiers.
enum MainControlId : int {
    kIdDeleteButton = 1001,  // 清除选中项目
    kIdAboutButton,         // 关于...
    kIdExitButton,         // 退出
    kIdCheckAllResultsButton,       // ← 全选
    kIdCheckNoResultsButton,       // ← 全否
    kIdResultCaption,
    kIdScanButton,         // 开始扫描 / 停止
    kIdPathBox,
    kIdBrowseButton,         // ...
    kIdPathCaption,
    kIdResultList,
    kIdTypeList,
    kIdStatusBar,
    kIdCheckAllTypesButton,       // 全选 ↑
    kIdCheckNoTypesButton,       // 全否 ↑
    kIdAllDrivesBox,
};

inline constexpr int kMainClientWidthTwips = 7860;
inline constexpr int kMainClientHeightTwips = 7005;

inline constexpr wchar_t kStartupPrompt[] =
    L"请选择扫描路径，然后点击“开始扫描”对指定的文件夹进行扫描！";
inline constexpr wchar_t kResultCaptionAtStart[] = L"扫描结果：";
inline constexpr wchar_t kInitialScanPath[] = L"C:\\";

inline constexpr ColumnLayout kResultListColumns[] = {
    {L"扫描到的文件", 4000}, {L"文件大小(KB)", 1440}, {L" ", 20}};
inline constexpr ColumnLayout kTypeListColumns[] = {
    {L"文件类型", 1500}, {L"文件说明", 3000}, {L" ", 100}};

inline constexpr ControlLayout kMainLayout[] = {
    {kIdDeleteButton, L"delete button", ControlKind::FlatButton, L"清除选中项目", 5640, 840, 2055, 375, 0},
    {kIdAboutButton, L"about button", ControlKind::FlatButton, L"关于...", 5640, 5760, 2055, 375, 1},
    {kIdExitButton, L"exit button", ControlKind::FlatButton, L"退出", 5640, 6240, 2055, 375, 2},
    {kIdCheckAllResultsButton, L"check-all-results button", ControlKind::FlatButton, L"\u2190 全选", 4440, 360, 1095, 375, 3},
    {kIdCheckNoResultsButton, L"check-no-results button", ControlKind::FlatButton, L"\u2190 全否", 4440, 840, 1095, 375, 4},
    {kIdResultCaption, L"result caption", ControlKind::Label, kResultCaptionAtStart, 30, 120, 7695, 255, 5},
    {kIdScanButton, L"scan button", ControlKind::FlatButton, L"开始扫描", 5640, 360, 2055, 375, 6},
    {kIdPathBox, L"path box", ControlKind::TextBox, kInitialScanPath, 4350, 1680, 3135, 270, 7},
    {kIdBrowseButton, L"browse button", ControlKind::FlatButton, L"...", 7500, 1680, 270, 270, 8},
    {kIdPathCaption, L"path caption", ControlKind::Label, L"扫描路径：", 4320, 1440, 975, 255, 9},
    {kIdResultList, L"result list", ControlKind::ListView, L"", 30, 360, 4215, 6330, 10, kResultListColumns, true},
    {kIdTypeList, L"type list", ControlKind::ListView, L"", 4350, 2040, 3375, 3600, 11, kTypeListColumns, false},
    {kIdStatusBar, L"status bar", ControlKind::StatusBar, kStartupPrompt, 0, 6705, 7860, 300, 12},
    {kIdCheckAllTypesButton, L"check-all-types button", ControlKind::FlatButton, L"全选 \u2191", 4440, 5760, 1095, 375, 13},
    {kIdCheckNoTypesButton, L"check-no-types button", ControlKind::FlatButton, L"全否 \u2191", 4440, 6240, 1095, 375, 14},
    {kIdAllDrivesBox, L"all-drives box", ControlKind::CheckBox, L"所有硬盘驱动器", 6000, 1420, 1695, 255, 15},
};

// The selection buttons, each with what it acts on: a list and the state it gives every row.
struct SelectionButton {
    int id;
    SelectionTarget target;
};
inline constexpr SelectionButton kSelectionButtons[] = {
    {kIdCheckAllResultsButton, {SelectionList::Results, true}},
    {kIdCheckNoResultsButton, {SelectionList::Results, false}},
    {kIdCheckAllTypesButton, {SelectionList::Types, true}},
    {kIdCheckNoTypesButton, {SelectionList::Types, false}},
};

}  // namespace qorvani
