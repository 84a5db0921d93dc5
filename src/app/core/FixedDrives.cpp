#include "app/core/FixedDrives.h"

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

void CollectFixedDrives(std::wstring_view buffer, const std::function<unsigned(const std::wstring&)>& driveType,
                        FixedDrives& drives, std::wstring& text) {
    drives.Reset();
    text.clear();
    for (auto& entry : DriveStrings(buffer)) {
        if (driveType(entry) != kDriveFixed) continue;
        text += entry;
        drives.Append(std::move(entry));
    }
}

}  // namespace qorvani
