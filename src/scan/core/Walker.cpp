#include "scan/core/Walker.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "scan/core/UpperCase.h"
#include "scan/core/WindowsNames.h"

namespace qorvani {

namespace {

bool IsDotOrDotDot(std::wstring_view name) {
    return name == L"." || name == L"..";
}


// The path of the folder being walked, in one buffer that nothing else changes: a subfolder's
// name and the separator are appended on the way down and taken off again on the way back up.
class FolderPath {
public:
    explicit FolderPath(wchar_t separator) : separator_(separator) {}
    void Start(const std::wstring& root) {
        text_ = root;
        lengths_.clear();
    }
    const std::wstring& Text() const { return text_; }
    void Descend(std::wstring_view name) {
        lengths_.push_back(text_.size());
        text_.append(name);
        text_.push_back(separator_);
    }
    void Ascend() {
        text_.resize(lengths_.back());
        lengths_.pop_back();
    }

private:
    const wchar_t separator_;
    std::wstring text_;
    std::vector<std::size_t> lengths_;  // text_'s length above each folder descended into
};

// The walk keeps its own stack of open listings instead of calling itself, so that a tree
// thousands of folders deep cannot exhaust the thread's stack. It does exactly what the plain
// recursive walk does: a folder is entered (stop test, status, waiting input, listing) at the
// moment its entry is met, its whole subtree is walked before its parent's next entry, and a
// stop request only keeps further folders from being entered.
//
// A plain subfolder lives on its parent's volume and takes its ID from its parent's listing
// record, at no cost of its own; only a root and a link ask their own handle where they lead
// (their volume, whether that is the volume's root, their final path and ID). Where the volume's
// IDs hold, a folder reached a second time (through a link, a mount point, or a link back up
// that would loop without end) is passed over like a folder that cannot be listed. Elsewhere
// only a link back to a folder on the current path is passed over (its final path is that of
// one of the open folders), as a loop would never end: a folder reached again another way is
// walked again.
class Walk {
public:
    Walk(DirectoryLister& lister, const MaskSet& masks, WalkSink& sink, Pacing& pace, ScanState& state,
         WalkedFolders& walked)
        : lister_(lister), masks_(masks), sink_(sink), pace_(pace), state_(state), walked_(walked),
          volumes_(walked.Volumes()), separator_(lister.Separator()), path_(separator_) {}

    void Run(const std::wstring& root) {
        path_.Start(root);
        const std::wstring volumeRoot = lister_.VolumeRoot(root);
        Entry entry;
        entry.asRoot = true;
        entry.volumeRootByName = !volumeRoot.empty() && EqualIgnoringAsciiCase(volumeRoot, root);
        entry.systemFolder = InSystemFolder(root, volumeRoot);
        Enter(!entry.systemFolder, entry);
        while (!open_.empty()) Advance();
    }

private:
    // How a folder is reached.
    struct Entry {
        bool asRoot = false;
        bool volumeRootByName = false;  // a root whose path is its volume's root path
        bool plain = false;             // a subfolder entry that is no link
        bool systemFolder = false;      // the system's own, never walked
        std::optional<FolderIdentity> known;  // a plain subfolder's ID from its parent's record
    };

    struct OpenFolder {
        std::unique_ptr<DirectoryListing> listing;
        std::uint64_t volume = ScanVolumes::kUnknown;
        bool volumeRoot = false;    // the root of its volume (a drive's, a mount point's)
        std::uint64_t number = 0;   // this listing's number in the walk
        std::size_t pathLength = 0; // the length of its path in path_
        bool placed = false;        // a root or a link: its final path is its own, not its parent's
        std::wstring finalPath;     // if placed: its final path, empty when unknown
        bool kindRemembered = false;
    };

    // A root inside the Recycle Bin or System Volume Information of its volume.
    bool InSystemFolder(const std::wstring& root, const std::wstring& volumeRoot) const {
        if (volumeRoot.empty() || root.size() <= volumeRoot.size()) return false;
        if (!EqualIgnoringAsciiCase(std::wstring_view(root).substr(0, volumeRoot.size()), volumeRoot)) return false;
        const std::size_t start = volumeRoot.size();
        std::size_t end = root.find(separator_, start);
        if (end == std::wstring::npos) end = root.size();
        return IsSystemFolderName(std::wstring_view(root).substr(start, end - start));
    }

    // True when target (a link's final path) is the final path of one of the open folders: that
    // of the nearest root or link at or above it, followed by the names walked below that.
    bool ClosesLoop(const std::wstring& target) const {
        if (target.empty()) return false;
        const std::wstring_view walked = path_.Text();
        const OpenFolder* base = nullptr;
        for (const OpenFolder& folder : open_) {
            if (folder.placed) base = &folder;
            if (base == nullptr || base->finalPath.empty()) continue;
            const std::wstring_view own = base->finalPath;
            const std::wstring_view below = walked.substr(base->pathLength, folder.pathLength - base->pathLength);
            const std::wstring_view text = target;
            if (text.size() == own.size() + below.size() && EqualIgnoringAsciiCase(text.substr(0, own.size()), own) &&
                EqualIgnoringAsciiCase(text.substr(own.size()), below))
                return true;
        }
        return false;
    }

    static std::optional<FolderIdentity> IdentityAt(std::uint64_t volume, const FolderPlace& place) {
        if (place.idLow == 0 && place.idHigh == 0) return std::nullopt;  // a file system that gives none
        return FolderIdentity{volume, place.idLow, place.idHigh};
    }

    // Enters the folder whose path path_ holds; false when it is not walked. It counts as walked
    // only once its listing is open: a path that cannot be opened (too long, say) leaves the
    // folder to a later path.
    bool Enter(bool walkable, const Entry& entry) {
        if (state_.stopRequested) return false;
        sink_.ShowFolder(path_.Text());
        pace_.AtFolderEntry();
        if (walked_.PassesOver(path_.Text())) return false;
        if (!walkable) {
            if (!entry.systemFolder) sink_.FolderNotListed(path_.Text());
            return false;
        }
        std::optional<FolderIdentity> identity = entry.known;
        std::uint64_t idListing = 0;  // the listing whose record gave the ID
        if (identity) {
            idListing = open_.back().number;
            switch (walked_.Look(*identity, idListing)) {
            case WalkedFolders::Seen::Before:
                return false;
            case WalkedFolders::Seen::InSameListing:
                volumes_.DistrustIds(identity->volume);  // the folder is walked: the ID proves nothing
                identity.reset();
                break;
            case WalkedFolders::Seen::No:
                break;
            }
        }
        std::unique_ptr<DirectoryListing> listing = lister_.Open(path_.Text());
        if (!listing) {
            sink_.FolderNotListed(path_.Text());
            return false;
        }
        OpenFolder folder;
        folder.pathLength = path_.Text().size();
        if (entry.plain) {
            folder.volume = open_.back().volume;
            // A record without the ID (FindFirstFileExW's, or a zero ID): the handle tells it.
            if (!identity && !entry.known && volumes_.TrustsIds(folder.volume))
                if (const std::optional<FolderPlace> place = listing->Place())
                    if ((identity = IdentityAt(folder.volume, *place)) && walked_.Look(*identity, 0) != WalkedFolders::Seen::No)
                        return false;
        } else {
            folder.placed = true;
            const std::optional<FolderPlace> place = listing->Place();
            if (place) {
                folder.volume = volumes_.KeyOf(*place);
                if (volumes_.NeedsFacts(folder.volume)) volumes_.SetFacts(folder.volume, listing->FileSystem());
                folder.volumeRoot = place->volumeRoot;
                folder.finalPath = place->finalPath;
                if (volumes_.TrustsIds(folder.volume)) identity = IdentityAt(folder.volume, *place);
            } else {
                folder.volumeRoot = entry.asRoot && entry.volumeRootByName;
            }
            // A volume that is a scan root of its own is walked there, under its own name.
            if (place && folder.volumeRoot && !entry.asRoot && walked_.IsReservedRoot(folder.volume)) return false;
            if (identity) {
                if (walked_.Look(*identity, 0) != WalkedFolders::Seen::No) return false;
            } else if (!entry.asRoot && ClosesLoop(folder.finalPath)) {
                return false;
            }
            if (place && folder.volumeRoot && entry.asRoot && !walked_.EnterVolumeRootAsRoot(folder.volume))
                return false;
        }
        if (identity) walked_.Record(*identity, idListing);
        folder.number = ++listings_;
        listing->StartWith(volumes_.KindFor(folder.volume));
        folder.listing = std::move(listing);
        open_.push_back(std::move(folder));
        return true;
    }

    void Advance() {
        OpenFolder& current = open_.back();
        DirectoryListing& listing = *current.listing;
        const bool more = listing.Next();
        if (!current.kindRemembered) {  // the first call tells which records the volume answers
            current.kindRemembered = true;
            if (const std::optional<ListingKind> kind = listing.Answered()) volumes_.Remember(current.volume, *kind);
        }
        if (!more) {
            open_.pop_back();
            if (!open_.empty()) path_.Ascend();  // back to the parent's path
            return;
        }
        pace_.AtWork();
        const std::wstring_view name = listing.Name();
        if (IsDotOrDotDot(name)) return;
        if (listing.IsFolder()) {
            Entry entry;
            entry.systemFolder = current.volumeRoot && IsSystemFolderName(name);
            const bool walkable = lister_.CanNameFolder(name) && !entry.systemFolder;
            if (walkable && !listing.EntryIsLink()) {
                entry.plain = true;
                if (volumes_.TrustsIds(current.volume))
                    if (const std::optional<std::uint64_t> id = listing.EntryFileId())
                        entry.known = FolderIdentity{current.volume, *id};
            }
            path_.Descend(name);
            if (!Enter(walkable, entry)) path_.Ascend();
            return;
        }
        if (masks_.Empty()) return;
        upperName_.assign(name);
        UpperCaseInPlace(upperName_);
        if (const std::optional<std::size_t> mask = masks_.FirstMatch(upperName_)) {
            MatchFacts facts;
            facts.size = listing.Size();
            facts.lastWrite = listing.LastWrite();
            facts.mask = *mask;
            sink_.AppendMatch(path_.Text(), name, facts);
            state_.totalBytes += facts.size;
        }
    }

    DirectoryLister& lister_;
    const MaskSet& masks_;
    WalkSink& sink_;
    Pacing& pace_;
    ScanState& state_;
    WalkedFolders& walked_;
    ScanVolumes& volumes_;
    const wchar_t separator_;
    std::vector<OpenFolder> open_;
    FolderPath path_;  // the innermost open folder's path, or the one being entered
    std::wstring upperName_;
    std::uint64_t listings_ = 0;  // listings opened so far
};

}  // namespace

namespace {

std::size_t SlotHash(std::uint64_t index, std::uint32_t volume) {
    std::uint64_t h = (index ^ (static_cast<std::uint64_t>(volume) << 48)) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
}

}  // namespace

const WalkedFolders::Slot* WalkedFolders::FindSlot(const FolderIdentity& folder) const {
    if (slots_.empty()) return nullptr;
    const std::uint32_t volume = static_cast<std::uint32_t>(folder.volume + 1);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = SlotHash(folder.index, volume) & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.volume == 0) return nullptr;
        if (slot.volume == volume && slot.index == folder.index) return &slot;
    }
}

void WalkedFolders::Record(const FolderIdentity& folder, std::uint64_t listing) {
    if (!FitsSlot(folder, listing)) {
        others_.emplace(folder, listing);
        return;
    }
    if (FindSlot(folder) != nullptr) return;  // recorded already: the first listing stays
    if ((slotsUsed_ + 1) * 4 > slots_.size() * 3) {  // at most three quarters full
        std::vector<Slot> old(std::max<std::size_t>(slots_.size() * 2, 1024));
        old.swap(slots_);
        slotsUsed_ = 0;
        for (const Slot& slot : old)
            if (slot.volume != 0) Record(FolderIdentity{slot.volume - 1u, slot.index, 0}, slot.listing);
    }
    const std::uint32_t volume = static_cast<std::uint32_t>(folder.volume + 1);
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = SlotHash(folder.index, volume) & mask;
    while (slots_[at].volume != 0) at = (at + 1) & mask;
    slots_[at] = Slot{folder.index, volume, static_cast<std::uint32_t>(listing)};
    ++slotsUsed_;
}

WalkedFolders::Seen WalkedFolders::Look(const FolderIdentity& folder, std::uint64_t listing) const {
    std::uint64_t walkedIn = 0;  // the listing whose entry gave the ID of the folder walked
    if (const Slot* slot = FitsSlot(folder, 0) ? FindSlot(folder) : nullptr) {
        walkedIn = slot->listing;
    } else {
        const auto found = others_.find(folder);
        if (found == others_.end()) return Seen::No;
        walkedIn = found->second;
    }
    // Two entries of one listing are two folders (a folder has one name in its parent, and links
    // carry no ID in the listing): one ID for both proves that the IDs do not tell them apart.
    return listing != 0 && walkedIn == listing ? Seen::InSameListing : Seen::Before;
}

std::size_t WalkedFolders::ApproximateBytes() const {
    return slots_.capacity() * sizeof(Slot) + others_.size() * (sizeof(FolderIdentity) + 4 * sizeof(void*));
}

void WalkedFolders::PassOver(const std::vector<std::wstring>& folders) {
    for (const std::wstring& folder : folders) passedOver_.push_back(UpperCase(folder));
}

bool WalkedFolders::PassesOver(std::wstring_view folderPath) const {
    if (passedOver_.empty()) return false;
    const std::wstring upper = UpperCase(folderPath);
    for (const std::wstring& folder : passedOver_)
        if (upper.size() >= folder.size() && std::wstring_view(upper).substr(0, folder.size()) == folder) return true;
    return false;
}

void ReserveVolumeRoots(const std::vector<std::wstring>& roots, DirectoryLister& lister, WalkedFolders& walked) {
    for (const std::wstring& root : roots)
        if (const std::optional<FolderPlace> place = lister.Identify(root); place && place->volumeRoot)
            walked.ReserveVolumeRoot(walked.Volumes().KeyOf(*place));
}

bool IsSystemFolderName(std::wstring_view name) {
    for (std::wstring_view system : {L"$Recycle.Bin", L"RECYCLER", L"RECYCLED", L"System Volume Information"})
        if (EqualIgnoringAsciiCase(name, system)) return true;
    return false;
}

void ScanFolder(const std::wstring& path, DirectoryLister& lister, const MaskSet& masks,
                WalkSink& sink, Pacing& pace, ScanState& state, WalkedFolders& walked) {
    Walk(lister, masks, sink, pace, state, walked).Run(path);
}

void ScanFolder(const std::wstring& path, DirectoryLister& lister, const MaskSet& masks,
                WalkSink& sink, Pacing& pace, ScanState& state) {
    WalkedFolders walked;
    ScanFolder(path, lister, masks, sink, pace, state, walked);
}

}  // namespace qorvani
