#include "scan/core/ScanRoots.h"

namespace qorvani {

namespace {

constexpr wchar_t kDefaultPath[] = L"C:\\";

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// Windows reads '/' as a separator too.
bool IsSeparator(wchar_t c, wchar_t separator) { return c == separator || (separator == L'\\' && c == L'/'); }

bool HasDotFolder(std::wstring_view path, wchar_t separator) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end], separator)) ++end;
        const std::wstring_view part = path.substr(start, end - start);
        if (part == L"." || part == L"..") return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

bool IsFullyQualified(std::wstring_view path, wchar_t separator) {
    if (separator != L'\\') return !path.empty() && path.front() == separator;
    if (path.size() >= 2 && IsSeparator(path[0], separator) && IsSeparator(path[1], separator)) return true;
    return path.size() >= 3 && IsLetter(path[0]) && path[1] == L':' && IsSeparator(path[2], separator);
}

bool NeedsFullPath(std::wstring_view root, wchar_t separator) {
    if (!IsFullyQualified(root, separator)) return true;
    if (separator == L'\\') {
        // The long form is taken as it is, dots and all.
        if (root.substr(0, 4) == L"\\\\?\\") return false;
        if (root.find(L'/') != std::wstring_view::npos) return true;
    }
    return HasDotFolder(root, separator);
}

// An empty path box gives no root rather than an empty one: an empty root would list the
// process's current folder and make rows without a folder.
std::vector<std::wstring> ScanRoots(bool allDrives, const FixedDrives& drives,
                                    std::wstring_view pathText, wchar_t separator,
                                    const FullPathFunction& fullPath) {
    std::vector<std::wstring> roots;
    if (allDrives) {
        roots.assign(drives.begin(), drives.end());
        return roots;
    }
    if (pathText.empty()) return roots;
    std::wstring root(pathText);
    if (root.back() != separator) root.push_back(separator);
    // Decided on the root with its separator, so that "C:" is the drive's root "C:\\", not the
    // drive's current folder.
    if (NeedsFullPath(root, separator)) {
        root = fullPath ? fullPath(root) : std::wstring();
        if (root.empty() || NeedsFullPath(root, separator)) return roots;
        if (root.back() != separator) root.push_back(separator);
    }
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
