#pragma once
// The folders a scan walks, from the path box or the fixed drives, and what the all-drives box and
// the browse button do to the path box.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/core/FixedDrives.h"

namespace qorvani {

// True for a path that names its place without the current drive or folder: C:\..., a network
// or device path (\\server\share\..., \\?\...), or with '/' as the separator one starting with it.
// "temp", "C:temp", "\temp" and "C:" are not.
bool IsFullyQualified(std::wstring_view path, wchar_t separator = L'\\');

// True for a root that the system must resolve before rows can be made from it: one that is not
// fully qualified (the shell would take its rows as relative names and destroy them for good even
// when asked for the Recycle Bin), or one holding a "." or ".." folder or a '/' (where the separator
// is '\\'), which would give rows that the shell cannot be sent or reads differently.
bool NeedsFullPath(std::wstring_view root, wchar_t separator = L'\\');

// Resolves a path as the system would, against the current drive and folder; empty when it cannot.
using FullPathFunction = std::function<std::wstring(const std::wstring&)>;

// The folders a scan walks: every fixed drive when all drives are chosen, otherwise the path
// box's text with the separator added when it lacks one, made full through fullPath when it needs
// it (the box keeps its text). An empty path box gives no root, and so does a root that needs
// resolving when it cannot be resolved.
std::vector<std::wstring> ScanRoots(bool allDrives, const FixedDrives& drives,
                                    std::wstring_view pathText, wchar_t separator = L'\\',
                                    const FullPathFunction& fullPath = {});

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
