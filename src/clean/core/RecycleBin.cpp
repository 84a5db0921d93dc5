#include "clean/core/RecycleBin.h"

#include "common/core/DriveTypes.h"

namespace qorvani {

BinRefusal WhyBinRefuses(const BinFacts& bin, std::optional<std::uint64_t> fileBytes) {
    if (!bin.exists) return BinRefusal::NoBin;
    if (bin.policyOff) return BinRefusal::Policy;
    if (bin.turnedOff) return BinRefusal::TurnedOff;
    if (bin.maxBytes && fileBytes && *fileBytes > *bin.maxBytes) return BinRefusal::TooLarge;
    return BinRefusal::None;
}

bool VolumeTakesRecycling(unsigned driveType, bool binAnswers) {
    switch (driveType) {
    case kDriveFixed:
    case kDriveRemote:  // a share has no bin on Windows, but Wine's takes its files: the bin says
        return binAnswers;
    default:  // removable, CD, RAM disk, or a path the system cannot type: never recycled
        return false;
    }
}

std::wstring PlainVolumeRoot(std::wstring_view root) {
    std::wstring plain(root);
    if (plain.starts_with(L"\\\\?\\UNC\\"))
        plain = L"\\" + plain.substr(7);  // \\?\UNC\server\share\ -> \\server\share\ .
    else if (plain.size() >= 6 && plain.starts_with(L"\\\\?\\") && plain[5] == L':')
        plain = plain.substr(4);  // \\?\C:\ -> C:\ .
    if (plain.empty() || plain.back() != L'\\') plain.push_back(L'\\');
    return plain;
}

std::wstring VolumeGuidOf(std::wstring_view volumeName) {
    constexpr std::wstring_view prefix = L"\\\\?\\Volume{";
    if (!volumeName.starts_with(prefix)) return {};
    const std::size_t close = volumeName.find(L'}', prefix.size());
    if (close == std::wstring_view::npos) return {};
    const std::wstring_view rest = volumeName.substr(close + 1);
    if (!rest.empty() && rest != L"\\") return {};
    return std::wstring(volumeName.substr(prefix.size() - 1, close - prefix.size() + 2));
}

}  // namespace qorvani
