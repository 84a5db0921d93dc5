#pragma once
// The main window's layout, in twips (1/1440 inch), each control in tab order. The window creates
// its controls from this table and the tests check the real window against it.
#include <string_view>

#include "about/core/AboutLayout.h"
#include "clean/core/Selection.h"
#include "common/core/ControlLayout.h"
#include "common/core/Texts.h"

namespace qorvani {

// Main window control identifiers.
enum MainControlId : int {
    kIdDeleteButton = 1001,
    kIdAboutButton,
    kIdExitButton,
    kIdCheckAllResultsButton,
    kIdCheckNoResultsButton,
    kIdResultCaption,
    kIdScanButton,
    kIdPathBox,
    kIdBrowseButton,
    kIdPathCaption,
    kIdResultList,
    kIdTypeList,
    kIdStatusBar,
    kIdCheckAllTypesButton,
    kIdCheckNoTypesButton,
    kIdAllDrivesBox,
};

inline constexpr int kMainClientWidthTwips = 7860;
inline constexpr int kMainClientHeightTwips = 7005;

inline constexpr ColumnLayout kResultListColumns[] = {
    {text::kFoundFileColumn, 4000}, {text::kFileSizeColumn, 1440}, {text::kBlankColumn, 20}};
inline constexpr ColumnLayout kTypeListColumns[] = {
    {text::kFileTypeColumn, 1500}, {text::kDescriptionColumn, 3000}, {text::kBlankColumn, 100}};

inline constexpr ControlLayout kMainLayout[] = {
    {kIdDeleteButton, L"delete button", ControlKind::FlatButton, text::kDeleteButton, 5640, 840, 2055, 375},
    {kIdAboutButton, L"about button", ControlKind::FlatButton, text::kAboutButton, 5640, 5760, 2055, 375},
    {kIdExitButton, L"exit button", ControlKind::FlatButton, text::kExitButton, 5640, 6240, 2055, 375},
    {kIdCheckAllResultsButton, L"check-all-results button", ControlKind::FlatButton, text::kCheckAllResults, 4440, 360, 1095, 375},
    {kIdCheckNoResultsButton, L"check-no-results button", ControlKind::FlatButton, text::kCheckNoResults, 4440, 840, 1095, 375},
    {kIdResultCaption, L"result caption", ControlKind::Label, text::kResultCaptionAtStart, 30, 120, 7695, 255},
    {kIdScanButton, L"scan button", ControlKind::FlatButton, text::kStartScanCaption, 5640, 360, 2055, 375},
    {kIdPathBox, L"path box", ControlKind::TextBox, text::kInitialScanPath, 4350, 1680, 3135, 270},
    {kIdBrowseButton, L"browse button", ControlKind::FlatButton, text::kBrowseButton, 7500, 1680, 270, 270},
    {kIdPathCaption, L"path caption", ControlKind::Label, text::kPathCaption, 4320, 1440, 975, 255},
    {kIdResultList, L"result list", ControlKind::ListView, L"", 30, 360, 4215, 6330, kResultListColumns, true},
    {kIdTypeList, L"type list", ControlKind::ListView, L"", 4350, 2040, 3375, 3600, kTypeListColumns, false},
    {kIdStatusBar, L"status bar", ControlKind::StatusBar, text::kStartupPrompt, 0, 6705, 7860, 300},
    {kIdCheckAllTypesButton, L"check-all-types button", ControlKind::FlatButton, text::kCheckAllTypes, 4440, 5760, 1095, 375},
    {kIdCheckNoTypesButton, L"check-no-types button", ControlKind::FlatButton, text::kCheckNoTypes, 4440, 6240, 1095, 375},
    {kIdAllDrivesBox, L"all-drives box", ControlKind::CheckBox, text::kAllDrives, 6000, 1420, 1695, 255},
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
