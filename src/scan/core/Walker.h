#pragma once
// The folder walk: depth first in listing order, every file whose upper-cased name matches one
// of the active masks is handed to the sink with its size, its last write and the mask it matched.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/core/Pacing.h"
#include "scan/core/DirectoryLister.h"
#include "scan/core/MaskMatcher.h"
#include "scan/core/ScanVolumes.h"

namespace qorvani {

// A matched file's facts: its size in bytes, its last write (FILETIME ticks, UTC; nothing when the
// listing cannot tell) and the position of the first active mask it matched.
struct MatchFacts {
    std::uint64_t size = 0;
    std::optional<std::uint64_t> lastWrite;
    std::size_t mask = 0;
};

// What the walk tells whoever runs it (the window, the console's scan, the bench). The window
// keeps the screen live at its own pace: ShowFolder and AppendMatch must be cheap (store, do not
// paint).
class WalkSink {
public:
    virtual ~WalkSink() = default;
    // Entering a folder: the status text becomes "正在扫描：" + path.
    virtual void ShowFolder(const std::wstring& path) = 0;
    // A matched file: folder as walked (ends in the separator), the name exactly as listed (its
    // display form, upper-cased as tested, is made from it when shown), and what the walk knows of it.
    virtual void AppendMatch(const std::wstring& folder, std::wstring_view name, const MatchFacts& facts) = 0;
    // A folder the walk meant to enter and could not list (refused, gone, a name no path can
    // take). The system's own folders and folders passed over on purpose are not told.
    virtual void FolderNotListed(const std::wstring& /*path*/) {}
};

// Shared scan state, owned by the main window.
struct ScanState {
    bool scanning = false;         // from the click that starts a scan until its inputs are back
    bool stopRequested = false;
    std::uint64_t totalBytes = 0;  // the sizes of the files matched so far, for the report
    std::uint32_t startTime = 0;
};

// The folders that one scan has walked, over all its roots, and what it knows of their volumes.
// On a volume whose file IDs hold (ScanVolumes), a folder reached again by another path (a link,
// a mount point, a subst letter, a second letter of one volume) is passed over, so the first path
// to reach it keeps its rows. A volume whose root is itself a scan root is walked only as that
// root, under its own name.
class WalkedFolders {
public:
    enum class Seen : std::uint8_t {
        No,
        Before,          // walked already
        InSameListing,   // the ID was given by another entry of the same listing: IDs do not hold
    };
    // listing: the number of the listing whose entry gave the folder's ID, 0 when its own handle
    // gave it.
    Seen Look(const FolderIdentity& folder, std::uint64_t listing) const;
    // Records a folder as walked, once it has been opened.
    void Record(const FolderIdentity& folder, std::uint64_t listing);
    std::size_t WalkedCount() const { return slotsUsed_ + others_.size(); }
    // Bytes held for the folders walked, for the memory figures.
    std::size_t ApproximateBytes() const;

    void ReserveVolumeRoot(std::uint64_t volume) { reservedRoots_.insert(volume); }
    bool IsReservedRoot(std::uint64_t volume) const { return reservedRoots_.count(volume) != 0; }
    // A volume's root entered as a scan root: false when one was entered so before.
    bool EnterVolumeRootAsRoot(std::uint64_t volume) { return rootsEntered_.insert(volume).second; }

    ScanVolumes& Volumes() { return volumes_; }

    // Folders passed over with everything below them, each a full folder path ending in the
    // separator, compared by whole path components in any letter case.
    void PassOver(const std::vector<std::wstring>& folders);
    bool PassesOver(std::wstring_view folderPath) const;

private:
    struct Hash {
        std::size_t operator()(const FolderIdentity& id) const noexcept {
            std::uint64_t h = id.index * 0x9E3779B97F4A7C15ull;
            h ^= (id.volume + (h << 6) + (h >> 2)) * 0xC2B2AE3D27D4EB4Full;
            h ^= id.indexHigh + (h << 6) + (h >> 2);
            return static_cast<std::size_t>(h ^ (h >> 31));
        }
    };
    // The folders walked, each with the listing that gave its ID, in one open-addressed table of
    // 16 bytes a folder: a 64-bit ID on a volume of a small key (every volume of a scan). IDs of
    // 128 bits (ReFS) and the rest go to others_.
    struct Slot {
        std::uint64_t index;
        std::uint32_t volume;   // the volume's key + 1; 0: an empty slot
        std::uint32_t listing;
    };
    static bool FitsSlot(const FolderIdentity& folder, std::uint64_t listing) {
        return folder.indexHigh == 0 && folder.volume < 0xFFFFFFFFu && listing <= 0xFFFFFFFFu;
    }
    const Slot* FindSlot(const FolderIdentity& folder) const;
    std::vector<Slot> slots_;
    std::size_t slotsUsed_ = 0;
    std::unordered_map<FolderIdentity, std::uint64_t, Hash> others_;
    std::unordered_set<std::uint64_t> reservedRoots_;
    std::unordered_set<std::uint64_t> rootsEntered_;
    std::vector<std::wstring> passedOver_;  // upper-cased
    ScanVolumes volumes_;
};

// Reserves the roots that are whole volumes (C:\, D:\, a volume's mount point), as the volume API
// says of each: each is walked under its own name only, and a mount point of it inside another
// root is passed over there.
void ReserveVolumeRoots(const std::vector<std::wstring>& roots, DirectoryLister& lister, WalkedFolders& walked);

// True for the system's own folders at the root of a volume, never the user's junk: the Recycle
// Bin ("$Recycle.Bin", and "RECYCLER" and "RECYCLED" of older Windows) and "System Volume
// Information" (restore points), in any case.
bool IsSystemFolderName(std::wstring_view name);

// Walks path (which ends in the lister's separator). Reads state.stopRequested on entering each
// folder and adds every matched file's size to state.totalBytes. Paces itself through pace:
// AtWork at every entry listed, AtFolderEntry on entering each folder (after ShowFolder). walked
// is shared by the roots of one scan; the overload without it walks path as the scan's only root.
void ScanFolder(const std::wstring& path, DirectoryLister& lister, const MaskSet& masks,
                WalkSink& sink, Pacing& pace, ScanState& state, WalkedFolders& walked);
void ScanFolder(const std::wstring& path, DirectoryLister& lister, const MaskSet& masks,
                WalkSink& sink, Pacing& pace, ScanState& state);

}  // namespace qorvani
