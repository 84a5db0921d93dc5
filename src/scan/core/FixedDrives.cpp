#include "scan/core/FixedDrives.h"

#include <set>

namespace qorvani {

std::vector<std::wstring> DriveStrings(std::wstring_view buffer) {
    std::vector<std::wstring> entries;
    std::size_t start = 0;
    while (start < buffer.size() && buffer[start] != L'\0') {
        std::size_t end = buffer.find(L'\0', start);
        if (end == std::wstring_view::npos) end = buffer.size();
        entries.emplace_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

void CollectFixedDrives(std::wstring_view buffer, const std::function<DriveFacts(const std::wstring&)>& facts,
                        FixedDrives& drives, std::wstring& text) {
    drives.clear();
    text.clear();
    std::set<std::wstring> volumes;
    for (auto& entry : DriveStrings(buffer)) {
        const DriveFacts drive = facts(entry);
        if (drive.type != kDriveFixed || drive.substituted) continue;
        if (!drive.volume.empty() && !volumes.insert(drive.volume).second) continue;
        text += entry;
        drives.push_back(std::move(entry));
    }
}

void CollectFixedDrives(std::wstring_view buffer, const std::function<unsigned(const std::wstring&)>& driveType,
                        FixedDrives& drives, std::wstring& text) {
    CollectFixedDrives(buffer, [&driveType](const std::wstring& root) { return DriveFacts{driveType(root)}; },
                       drives, text);
}

}  // namespace qorvani
