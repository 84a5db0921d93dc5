#pragma once
// What one scan knows of the volumes it meets: a small key for each (told apart by its GUID),
// whether file IDs can tell its folders apart, and which listing records it answers.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "scan/core/DirectoryLister.h"

namespace qorvani {

// FILE_SUPPORTS_OPEN_BY_FILE_ID: the file system opens a file by its ID, so it keeps each ID to
// one file.
inline constexpr std::uint32_t kSupportsOpenByFileId = 0x01000000;

// True where a file ID names one folder for as long as it lives: the file system says so, or it
// is NTFS or ReFS. FAT and exFAT make IDs from directory positions (the root's is 0); a network
// file system may join several server volumes under one share.
bool FileSystemKeepsIdsUnique(const FileSystemFacts& facts);

// The Win32 answers of a listing's first call that mean the folder has no entries at all (a FAT
// root holds no "." and ".."), not that its records were refused.
inline constexpr std::uint32_t kListingFileNotFound = 2;   // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kListingNoMoreFiles = 18;  // ERROR_NO_MORE_FILES
bool FirstCallFoundNoEntries(std::uint32_t error);

// The kind to read a folder with after tried was refused, or nothing when none is left. Any
// failure of a first call but "no entries" counts as a refusal: file-system drivers answer a
// class they lack with ERROR_INVALID_PARAMETER, ERROR_INVALID_FUNCTION (STATUS_NOT_IMPLEMENTED's
// Win32 code too), ERROR_NOT_SUPPORTED, and others.
std::optional<ListingKind> KindAfterRefusal(ListingKind tried);

// What a listing's first call came to: the kind that answered (with entries, or with none at
// all), or nothing when every kind was refused (the folder cannot be listed).
struct FirstRecords {
    std::optional<ListingKind> answered;
    bool entries = false;
};

// Makes a listing's first call with start, then with each kind that follows a refusal. call(kind)
// reads the first records of that kind and gives 0, or the system's error code.
template <typename Call>
FirstRecords ReadFirstRecords(ListingKind start, Call&& call) {
    for (std::optional<ListingKind> kind = start; kind; kind = KindAfterRefusal(*kind)) {
        const std::uint32_t error = call(*kind);
        if (error == 0) return {kind, true};
        if (FirstCallFoundNoEntries(error)) return {kind, false};
    }
    return {};
}

class ScanVolumes {
public:
    // The key of a folder whose place is not known: its IDs are never trusted.
    static constexpr std::uint64_t kUnknown = 0;

    // The key of place's volume: one per volume name; a volume without a name is known by its
    // root path and serial number together.
    std::uint64_t KeyOf(const FolderPlace& place);
    // True until SetFacts was called for the volume.
    bool NeedsFacts(std::uint64_t key) const;
    // IDs are trusted on a named volume whose file system keeps them unique (nothing: not).
    void SetFacts(std::uint64_t key, const std::optional<FileSystemFacts>& facts);
    bool TrustsIds(std::uint64_t key) const { return At(key).trustsIds; }
    // Two entries of one listing shared an ID: the volume's IDs tell nothing from now on.
    void DistrustIds(std::uint64_t key);
    // The kind to read the volume's next folder with: the last that answered there.
    ListingKind KindFor(std::uint64_t key) const { return At(key).kind; }
    void Remember(std::uint64_t key, ListingKind kind);

private:
    struct Volume {
        bool named = false;
        bool factsKnown = false;
        bool trustsIds = false;
        ListingKind kind = ListingKind::IdExtd;
    };
    const Volume& At(std::uint64_t key) const { return key < volumes_.size() ? volumes_[key] : volumes_[kUnknown]; }
    Volume* Find(std::uint64_t key) { return key < volumes_.size() ? &volumes_[key] : nullptr; }

    std::unordered_map<std::wstring, std::uint64_t> keys_;
    std::vector<Volume> volumes_ = std::vector<Volume>(1);  // by key; [kUnknown] for folders of no known place
};

}  // namespace qorvani
