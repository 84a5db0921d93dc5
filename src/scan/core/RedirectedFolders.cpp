#include "scan/core/RedirectedFolders.h"

#include "scan/core/UpperCase.h"

namespace qorvani {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::wstring CanonicalFolderKey(std::wstring_view path) {
    // The head that ".." never climbs above: a drive ("C:") or a UNC server and share.
    std::size_t start = 0;
    std::wstring key;
    if (path.size() >= 2 && path[1] == L':') {
        key.assign(path.substr(0, 2));
        start = 2;
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        key = L"\\";
        start = 1;
    }
    const std::size_t rootLength = key.size();
    std::size_t i = start;
    while (i < path.size()) {
        while (i < path.size() && IsSeparator(path[i])) ++i;
        std::size_t end = i;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        std::wstring_view name = path.substr(i, end - i);
        i = end;
        if (name.empty() || name == L".") continue;
        if (name == L"..") {  // drop the last name, never the head
            if (key.size() > rootLength) {
                key.pop_back();
                const std::size_t cut = key.rfind(L'\\');
                key.resize(cut == std::wstring::npos || cut + 1 < rootLength ? rootLength : cut + 1);
            }
            continue;
        }
        while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.remove_suffix(1);
        if (name.empty()) continue;
        if (key.empty() || key.back() != L'\\') key.push_back(L'\\');
        key.append(name);
        key.push_back(L'\\');
    }
    if (key.empty() || key.back() != L'\\') key.push_back(L'\\');
    UpperCaseInPlace(key);
    return key;
}

void RedirectedFolders::AddRedirected(std::wstring_view folder) { redirected_.push_back(CanonicalFolderKey(folder)); }

void RedirectedFolders::AddExempt(std::wstring_view folder) { exempt_.push_back(CanonicalFolderKey(folder)); }

bool RedirectedFolders::Covers(std::wstring_view folderPath) const {
    if (redirected_.empty()) return false;
    const std::wstring key = CanonicalFolderKey(folderPath);
    for (const std::wstring& folder : redirected_) {
        if (!key.starts_with(folder)) continue;
        for (const std::wstring& exempt : exempt_)
            if (key.starts_with(exempt)) return false;
        return true;
    }
    return false;
}

bool RunsUnderWow64(std::optional<std::uint16_t> processMachine, std::optional<bool> isWow64) {
    if (processMachine) return *processMachine != 0;
    return isWow64.value_or(false);
}

RedirectedFolders Wow64RedirectedFolders(std::wstring_view windowsFolder, std::wstring_view systemFolder) {
    RedirectedFolders folders;
    std::wstring windows(windowsFolder);
    if (windows.empty() || windows.back() != L'\\') windows.push_back(L'\\');
    std::wstring system(systemFolder);
    if (system.empty() || system.back() != L'\\') system.push_back(L'\\');
    folders.AddRedirected(system);
    folders.AddRedirected(windows + L"lastgood\\system32");
    for (const wchar_t* exempt : {L"catroot", L"catroot2", L"driverstore", L"drivers\\etc", L"logfiles", L"spool"})
        folders.AddExempt(system + exempt);
    return folders;
}

}  // namespace qorvani
