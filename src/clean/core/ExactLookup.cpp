#include "clean/core/ExactLookup.h"

namespace qorvani {

namespace {

PathKind KindOf(const EntryStamp& stamp) { return stamp.folder ? PathKind::Folder : PathKind::PlainFile; }

}  // namespace

PathKind ExactLookup::Inspect(const std::wstring& path) {
    const std::wstring lookup = LookupForm(path);
    const std::size_t split = path.find_last_of(separator_);
    if (split == std::wstring::npos) return ListName(lookup, path, split);
    const std::wstring_view name = std::wstring_view(path).substr(split + 1);

    // "Not found" holds for every spelling of the name; other failures say nothing about it.
    EntryStamp now;
    if (const std::uint32_t error = probe_.Stamp(lookup, now))
        return KindOfFailedLookup(error) == PathKind::Missing ? NotFound(path, split) : PathKind::Unknown;

    Folder& folder = folders_[path.substr(0, split + 1)];
    if (!folder.listed && ++folder.looks >= 2) {
        // What a listing cut short reached is still true; a row it did not reach is listed alone.
        folder.listed = true;
        std::vector<ListedEntry> entries;
        probe_.List(LookupForm(path.substr(0, split + 1) + L"*"), entries);
        for (ListedEntry& entry : entries) folder.entries.emplace(std::move(entry.name), entry.stamp);
    }
    if (folder.listed) {
        const auto recorded = folder.entries.find(name);
        if (recorded != folder.entries.end() && recorded->second == now) return KindOf(now);
    }
    return ListName(lookup, path, split);
}

PathKind ExactLookup::InspectAfterCalls(const std::wstring& path) {
    const std::size_t split = path.find_last_of(separator_);
    if (split == std::wstring::npos) return Inspect(path);
    const auto found = folders_.find(std::wstring_view(path).substr(0, split + 1));
    if (found == folders_.end() || !found->second.listed) return Inspect(path);
    Folder& folder = found->second;
    if (!folder.relisted) {
        folder.relisted = true;
        std::vector<ListedEntry> entries;
        folder.relistError = probe_.List(LookupForm(path.substr(0, split + 1) + L"*"), entries);
        folder.relistCut = folder.relistError != 0 && !entries.empty();
        for (ListedEntry& entry : entries) folder.now.emplace(std::move(entry.name), entry.stamp);
    }
    if (folder.relistError == 0 || folder.relistCut) {
        const auto entry = folder.now.find(std::wstring_view(path).substr(split + 1));
        if (entry != folder.now.end()) return KindOf(entry->second);
        return folder.relistCut ? PathKind::Unknown : PathKind::Missing;
    }
    if (KindOfFailedLookup(folder.relistError) == PathKind::Missing) return PathKind::Missing;  // nothing is left in it
    return Inspect(path);  // the folder cannot be listed (gone, or out of reach): each row on its own
}

PathKind ExactLookup::ListName(const std::wstring& lookup, const std::wstring& path, std::size_t split) {
    const std::wstring_view name = std::wstring_view(path).substr(split == std::wstring::npos ? 0 : split + 1);
    std::vector<ListedEntry> entries;
    const std::uint32_t error = probe_.List(lookup, entries);
    for (const ListedEntry& entry : entries)
        if (entry.name == name) return KindOf(entry.stamp);
    if (error == 0) return PathKind::Missing;  // only other spellings answer to the name
    if (!entries.empty() || KindOfFailedLookup(error) != PathKind::Missing) return PathKind::Unknown;  // no proof
    return NotFound(path, split);
}

PathKind ExactLookup::NotFound(const std::wstring& path, std::size_t split) {
    if (split == std::wstring::npos) return PathKind::Missing;
    const std::uint32_t error = probe_.Reach(LookupForm(path.substr(0, split + 1) + L"*"));
    return error == 0 || KindOfFailedLookup(error) == PathKind::Missing ? PathKind::Missing : PathKind::Unknown;
}

}  // namespace qorvani
