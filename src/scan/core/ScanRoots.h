#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/core/SlotArray.h"

namespace qorvani {

// The folders a scan walks: every fixed drive when all drives are chosen, otherwise the path
// box's text with the separator added when it lacks one. An empty path box gives no root.
std::vector<std::wstring> ScanRoots(bool allDrives, const FixedDrives& drives,
                                    std::wstring_view pathText, wchar_t separator = L'\\');

// The all-drives box after a click: the path box text and whether the box and "..." are enabled.
struct AllDrivesEffect {
    std::wstring pathText;
    bool pathBoxEnabled;
    bool browseEnabled;
};
AllDrivesEffect AllDrivesClicked(bool checked, std::wstring_view fixedDriveText);

// The browse button: the dialog's answer becomes the path box text ("\" added when missing);
// an empty answer (cancelled) changes nothing.
std::optional<std::wstring> PathFromBrowse(std::wstring_view chosen);

}  // namespace qorvani
