#include "scan/core/ScanRoots.h"

namespace qorvani {

namespace {

constexpr wchar_t kDefaultPath[] = L"C:\\";

}  // namespace

// An empty path box gives no root rather than an empty one: an empty root would list the
// process's current folder and make rows without a folder.
std::vector<std::wstring> ScanRoots(bool allDrives, const FixedDrives& drives,
                                    std::wstring_view pathText, wchar_t separator) {
    std::vector<std::wstring> roots;
    if (allDrives) {
        roots.assign(drives.begin(), drives.end());
        return roots;
    }
    if (pathText.empty()) return roots;
    std::wstring root(pathText);
    if (root.back() != separator) root.push_back(separator);
    roots.push_back(std::move(root));
    return roots;
}

AllDrivesEffect AllDrivesClicked(bool checked, std::wstring_view fixedDriveText) {
    if (checked) return {std::wstring(fixedDriveText), false, false};
    return {kDefaultPath, true, true};
}

std::optional<std::wstring> PathFromBrowse(std::wstring_view chosen) {
    if (chosen.empty()) return std::nullopt;
    std::wstring path(chosen);
    if (path.back() != L'\\') path.push_back(L'\\');
    return path;
}

}  // namespace qorvani
