#pragma once
// Test doubles for the scanner: an in-memory folder tree behind the lister seam and a sink
// that records what the walk reports, in order.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/core/DirectoryLister.h"
#include "scan/core/ScanVolumes.h"
#include "scan/core/UpperCase.h"
#include "scan/core/Walker.h"

namespace qorvani::scantest {

// The active masks, in order (upper-cased as the type list gives them).
inline ActiveMasks Masks(std::initializer_list<const wchar_t*> masks) {
    ActiveMasks result;
    for (const wchar_t* mask : masks) result.push_back(mask);
    return result;
}

struct FakeEntry {
    std::wstring name;
    bool folder = false;
    std::uint64_t size = 0;
    bool link = false;
    std::optional<std::uint64_t> lastWrite;
};

// A volume of the fake disk, mounted at its root path.
struct FakeVolume {
    std::wstring guid;                 // its volume name; empty: none (a network share)
    std::uint32_t serial = 0;
    std::wstring fileSystem = L"NTFS";
    std::uint32_t flags = 0;
    bool rootIdZero = false;           // its root's file ID is 0 (FAT)
    // The first call of a listing answers these error codes for these kinds (0: it lists).
    std::uint32_t extdError = 0;
    std::uint32_t bothError = 0;
};

// Folders are listed with "." and ".." first, then their entries in the order they were added.
// A folder lives on the volume mounted at the longest path above it (AddVolume), or on the one
// volume of NTFS that every other path is on.
class FakeLister : public DirectoryLister {
public:
    explicit FakeLister(wchar_t separator = L'\\') : separator_(separator) {}

    // Makes a folder listable (a root, say); path ends in the separator.
    void MakeFolder(const std::wstring& path) {
        if (folders_.try_emplace(path, std::vector<FakeEntry>{{L".", true, 0}, {L"..", true, 0}}).second)
            ids_[path] = ids_.size() + 1;
    }
    // Adds a link entry to the folder target (a path ending in the separator): paths through
    // the link list and identify as the target.
    void AddLink(const std::wstring& folder, const std::wstring& name, const std::wstring& target) {
        MakeFolder(folder);
        folders_[folder].push_back({name, true, 0, true});
        links_[folder + name + separator_] = target;
    }
    // Makes path (a root, say) a second name of the folder target.
    void AddAlias(const std::wstring& path, const std::wstring& target) { links_[path] = target; }
    // A folder whose place the system cannot tell.
    void MakeUnidentifiable(const std::wstring& path) { unidentifiable_.push_back(path); }
    void AddFile(const std::wstring& folder, const std::wstring& name, std::uint64_t size = 0,
                 std::optional<std::uint64_t> lastWrite = std::nullopt) {
        MakeFolder(folder);
        folders_[folder].push_back({name, false, size, false, lastWrite});
    }
    // Adds a subfolder entry and makes the subfolder listable; gives its path.
    std::wstring AddFolder(const std::wstring& folder, const std::wstring& name) {
        AddUnlistableFolder(folder, name);
        std::wstring path = folder + name + separator_;
        MakeFolder(path);
        return path;
    }
    // Adds a subfolder entry whose listing fails to open.
    void AddUnlistableFolder(const std::wstring& folder, const std::wstring& name) {
        MakeFolder(folder);
        folders_[folder].push_back({name, true, 0});
    }
    // Gives a folder another file ID (one that repeats, say).
    void SetId(const std::wstring& path, std::uint64_t id) { ids_[path] = id; }
    // Mounts a volume at root (which it makes a folder).
    void AddVolume(const std::wstring& root, FakeVolume volume) {
        MakeFolder(root);
        volumes_[root] = std::move(volume);
    }
    // A volume of NTFS with its own GUID and serial, mounted at path.
    void SetVolume(const std::wstring& path, std::uint32_t volume) {
        AddVolume(path, {L"\\\\?\\Volume{" + std::to_wstring(volume) + L"}\\", volume});
    }

    wchar_t Separator() const override { return separator_; }

    std::unique_ptr<DirectoryListing> Open(const std::wstring& folderPath) override {
        opened.push_back(folderPath);
        if (folderPath.size() > longestOpenable) return nullptr;
        const std::wstring real = Resolve(folderPath);
        const auto found = folders_.find(real);
        if (found == folders_.end()) return nullptr;
        return std::make_unique<Listing>(found->second, *this, real);
    }

    std::optional<FolderPlace> Identify(const std::wstring& folderPath) override {
        identified.push_back(folderPath);
        return PlaceOf(Resolve(folderPath));
    }

    std::wstring VolumeRoot(const std::wstring& folderPath) override {
        for (const std::wstring& root : volumeRoots)
            if (folderPath.compare(0, root.size(), root) == 0) return root;
        return {};
    }

    // The real folder a path names: link prefixes replaced by their targets.
    std::wstring Resolve(std::wstring path) const {
        for (int round = 0; round < 64; ++round) {
            bool replaced = false;
            for (const auto& [link, target] : links_) {
                if (path.compare(0, link.size(), link) == 0) {
                    path = target + path.substr(link.size());
                    replaced = true;
                    break;
                }
            }
            if (!replaced) break;
        }
        return path;
    }

    std::vector<std::wstring> volumeRoots;  // what VolumeRoot answers for the paths below them
    bool entryIds = false;  // listings carry the file IDs of plain subfolders, as on Windows
    std::size_t longestOpenable = static_cast<std::size_t>(-1);  // longer paths do not open
    std::vector<std::wstring> opened;      // every Open, in order
    std::vector<std::wstring> identified;  // every Identify, in order
    std::vector<std::wstring> placed;      // every listing asked for its place, in order
    int fileSystemQueries = 0;
    // Every first call of a listing: its path and the kind tried, in order.
    std::vector<std::pair<std::wstring, ListingKind>> firstCalls;
    int sizeQueries = 0;

private:
    // The path its volume is mounted at (empty for the one default volume) and the volume.
    std::pair<std::wstring, const FakeVolume*> VolumeOf(const std::wstring& real) const {
        static const FakeVolume kDefault{L"\\\\?\\Volume{7}\\", 7};
        std::pair<std::wstring, const FakeVolume*> best{L"", &kDefault};
        for (const auto& [root, volume] : volumes_)
            if (real.compare(0, root.size(), root) == 0 && root.size() >= best.first.size()) best = {root, &volume};
        return best;
    }

    std::optional<FolderPlace> PlaceOf(const std::wstring& real) const {
        for (const std::wstring& path : unidentifiable_)
            if (path == real) return std::nullopt;
        const auto found = ids_.find(real);
        if (found == ids_.end()) return std::nullopt;
        const auto [root, volume] = VolumeOf(real);
        FolderPlace place;
        place.volumeName = volume->guid;
        place.volumePath = root;
        place.serial = volume->serial;
        place.volumeRoot = real == root || std::find(volumeRoots.begin(), volumeRoots.end(), real) != volumeRoots.end();
        place.finalPath = real;
        place.idLow = real == root && volume->rootIdZero ? 0 : found->second;
        return place;
    }

    class Listing : public DirectoryListing {
    public:
        Listing(const std::vector<FakeEntry>& entries, FakeLister& owner, std::wstring path)
            : entries_(entries), owner_(owner), path_(std::move(path)) {}
        std::optional<FolderPlace> Place() const override {
            owner_.placed.push_back(path_);
            return owner_.PlaceOf(path_);
        }
        std::optional<FileSystemFacts> FileSystem() const override {
            ++owner_.fileSystemQueries;
            const FakeVolume& volume = *owner_.VolumeOf(path_).second;
            return FileSystemFacts{volume.fileSystem, volume.flags};
        }
        bool EntryIsLink() const override { return entries_[index_].link; }
        std::optional<std::uint64_t> EntryFileId() const override {
            const FakeEntry& entry = entries_[index_];
            if (!owner_.entryIds || entry.link || answered_ == ListingKind::Find) return std::nullopt;
            const auto id = owner_.PlaceOf(path_ + entry.name + owner_.separator_);
            return id && id->idLow != 0 ? std::optional<std::uint64_t>(id->idLow) : std::nullopt;
        }
        void StartWith(ListingKind kind) override { start_ = kind; }
        std::optional<ListingKind> Answered() const override { return answered_; }
        bool Next() override {
            if (!started_) {
                started_ = true;
                const FakeVolume& volume = *owner_.VolumeOf(path_).second;
                const FirstRecords first = ReadFirstRecords(start_, [&](ListingKind kind) {
                    owner_.firstCalls.emplace_back(path_, kind);
                    if (kind == ListingKind::IdExtd) return volume.extdError;
                    return kind == ListingKind::IdBoth ? volume.bothError : std::uint32_t{0};
                });
                answered_ = first.answered;
                if (!first.entries) index_ = entries_.size();
            }
            return ++index_ < entries_.size();
        }
        std::wstring_view Name() const override { return entries_[index_].name; }
        bool IsFolder() const override { return entries_[index_].folder; }
        std::uint64_t Size() override {
            ++owner_.sizeQueries;
            return entries_[index_].size;
        }
        std::optional<std::uint64_t> LastWrite() const override { return entries_[index_].lastWrite; }

    private:
        const std::vector<FakeEntry>& entries_;
        FakeLister& owner_;
        std::wstring path_;
        std::size_t index_ = static_cast<std::size_t>(-1);
        bool started_ = false;
        ListingKind start_ = ListingKind::IdExtd;
        std::optional<ListingKind> answered_;
    };

    wchar_t separator_;
    std::map<std::wstring, std::vector<FakeEntry>> folders_;
    std::map<std::wstring, std::uint64_t> ids_;
    std::map<std::wstring, std::wstring> links_;
    std::map<std::wstring, FakeVolume> volumes_;
    std::vector<std::wstring> unidentifiable_;
};

struct Match {
    std::wstring folder;
    std::wstring name;
    std::wstring upperName;
    std::uint64_t size;
    std::optional<std::uint64_t> lastWrite = std::nullopt;
    std::size_t mask = 0;
};

// Records the walk and its pacing: a log of L"show <path>", L"wait" and L"match <folder><name>" lines, and the
// folders shown and matches in detail. Hooks let a test act at a chosen moment.
class RecordingSink : public WalkSink, public Pacing {
public:
    void ShowFolder(const std::wstring& path) override {
        log.push_back(L"show " + path);
        shown.push_back(path);
        if (onShowFolder) onShowFolder(path);
    }
    void AtFolderEntry() override {
        log.push_back(L"wait");
        if (onWaitingInput) onWaitingInput(shown.empty() ? std::wstring() : shown.back());
    }
    // The name's display form is made as the window makes it, from the name as listed.
    void AppendMatch(const std::wstring& folder, std::wstring_view name, const MatchFacts& facts) override {
        log.push_back(L"match " + folder + std::wstring(name));
        matches.push_back({folder, std::wstring(name), UpperCase(name), facts.size, facts.lastWrite, facts.mask});
    }

    std::vector<std::wstring> log;
    std::vector<std::wstring> shown;
    std::vector<Match> matches;
    std::function<void(const std::wstring& path)> onShowFolder;
    std::function<void(const std::wstring& lastShown)> onWaitingInput;
};

}  // namespace qorvani::scantest
