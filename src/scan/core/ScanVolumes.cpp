#include "scan/core/ScanVolumes.h"

#include <string_view>

#include "scan/core/WindowsNames.h"

namespace qorvani {

bool FileSystemKeepsIdsUnique(const FileSystemFacts& facts) {
    if ((facts.flags & kSupportsOpenByFileId) != 0) return true;
    return EqualIgnoringAsciiCase(facts.name, L"NTFS") || EqualIgnoringAsciiCase(facts.name, L"ReFS");
}

bool FirstCallFoundNoEntries(std::uint32_t error) {
    return error == kListingFileNotFound || error == kListingNoMoreFiles;
}

std::optional<ListingKind> KindAfterRefusal(ListingKind tried) {
    switch (tried) {
    case ListingKind::IdExtd:
        return ListingKind::IdBoth;
    case ListingKind::IdBoth:
        return ListingKind::Find;
    case ListingKind::Find:
        break;
    }
    return std::nullopt;
}

std::uint64_t ScanVolumes::KeyOf(const FolderPlace& place) {
    const bool named = !place.volumeName.empty();
    std::wstring text = named ? L"N" + place.volumeName
                              : L"P" + std::to_wstring(place.serial) + L" " + place.volumePath;
    for (wchar_t& c : text) c = AsciiUpper(c);
    const auto [found, added] = keys_.try_emplace(std::move(text), volumes_.size());
    if (added) {
        volumes_.emplace_back();
        volumes_.back().named = named;
    }
    return found->second;
}

bool ScanVolumes::NeedsFacts(std::uint64_t key) const {
    return key != kUnknown && key < volumes_.size() && !volumes_[key].factsKnown;
}

void ScanVolumes::SetFacts(std::uint64_t key, const std::optional<FileSystemFacts>& facts) {
    Volume* volume = key != kUnknown ? Find(key) : nullptr;
    if (volume == nullptr) return;
    volume->factsKnown = true;
    volume->trustsIds = volume->named && facts && FileSystemKeepsIdsUnique(*facts);
}

void ScanVolumes::DistrustIds(std::uint64_t key) {
    if (Volume* volume = Find(key)) volume->trustsIds = false;
}

void ScanVolumes::Remember(std::uint64_t key, ListingKind kind) {
    if (Volume* volume = Find(key)) volume->kind = kind;
}

}  // namespace qorvani
