#include "scan/core/Walker.h"

#include <memory>
#include <optional>
#include <vector>

#include "scan/core/UpperCase.h"

namespace qorvani {

namespace {

bool IsDotOrDotDot(std::wstring_view name) {
    return name == L"." || name == L"..";
}

wchar_t FoldAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool EqualIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
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
// Each folder is known by the identity that its own listing gives, so a folder reached a second
// time (through a link, a mount point, or a link back up that would loop without end) is passed
// over like a folder that cannot be listed, at no cost beyond the listing itself.
class Walk {
public:
    Walk(DirectoryLister& lister, const MaskSet& masks, WalkSink& sink, Pacing& pace, ScanState& state,
         WalkedFolders& walked)
        : lister_(lister), masks_(masks), sink_(sink), pace_(pace), state_(state), walked_(walked),
          separator_(lister.Separator()), path_(separator_) {}

    void Run(const std::wstring& root) {
        path_.Start(root);
        const std::wstring volumeRoot = lister_.VolumeRoot(root);
        const bool rootIsVolumeRoot = !volumeRoot.empty() && EqualIgnoringAsciiCase(volumeRoot, root);
        Enter(!InSystemFolder(root, volumeRoot), true, rootIsVolumeRoot);
        while (!open_.empty()) Advance();
    }

private:
    struct OpenFolder {
        std::unique_ptr<DirectoryListing> listing;
        std::optional<FolderIdentity> identity;
        bool volumeRoot;                   // the root of its volume (a drive's, a mount point's)
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

    // Enters the folder whose path path_ holds; false when it is not walked. known is its
    // identity when its parent's listing gave it (a plain subfolder: same volume, listed ID).
    bool Enter(bool walkable, bool asRoot, bool knownVolumeRoot, std::optional<FolderIdentity> known = {}) {
        if (state_.stopRequested) return false;
        sink_.ShowFolder(path_.Text());
        pace_.AtFolderEntry();
        if (!walkable) return false;
        if (known && !walked_.Enter(*known, asRoot)) return false;
        std::unique_ptr<DirectoryListing> listing = lister_.Open(path_.Text());
        if (!listing) return false;
        std::optional<FolderIdentity> identity = known;
        bool volumeRoot = knownVolumeRoot;
        if (!known) {
            identity = listing->Identity();
            if (identity && !walked_.Enter(*identity, asRoot)) return false;
            if (!asRoot && identity && open_.back().identity)
                volumeRoot = identity->volume != open_.back().identity->volume;
        }
        open_.push_back({std::move(listing), identity, volumeRoot});
        return true;
    }

    void Advance() {
        OpenFolder& current = open_.back();
        DirectoryListing& listing = *current.listing;
        if (!listing.Next()) {
            open_.pop_back();
            if (!open_.empty()) path_.Ascend();  // back to the parent's path
            return;
        }
        pace_.AtWork();
        const std::wstring_view name = listing.Name();
        if (IsDotOrDotDot(name)) return;
        if (listing.IsFolder()) {
            const bool walkable =
                lister_.CanNameFolder(name) && !(current.volumeRoot && IsSystemFolderName(name));
            std::optional<FolderIdentity> known;
            if (current.identity)
                if (const std::optional<std::uint64_t> id = listing.EntryFileId())
                    known = FolderIdentity{current.identity->volume, *id};
            path_.Descend(name);
            if (!Enter(walkable, false, false, known)) path_.Ascend();
            return;
        }
        if (masks_.Empty()) return;
        upperName_.assign(name);
        UpperCaseInPlace(upperName_);
        if (masks_.Matches(upperName_)) {
            const std::uint64_t size = listing.Size();
            sink_.AppendMatch(path_.Text(), name, size);
            state_.totalBytes += size;
        }
    }

    DirectoryLister& lister_;
    const MaskSet& masks_;
    WalkSink& sink_;
    Pacing& pace_;
    ScanState& state_;
    WalkedFolders& walked_;
    const wchar_t separator_;
    std::vector<OpenFolder> open_;
    FolderPath path_;  // the innermost open folder's path, or the one being entered
    std::wstring upperName_;
};

}  // namespace

bool WalkedFolders::Enter(const FolderIdentity& folder, bool asRoot) {
    if (!asRoot && roots_.count(folder) != 0) return false;
    return walked_.insert(folder).second;
}

void ReserveVolumeRoots(const std::vector<std::wstring>& roots, DirectoryLister& lister, WalkedFolders& walked) {
    for (const std::wstring& root : roots) {
        if (!EqualIgnoringAsciiCase(lister.VolumeRoot(root), root)) continue;
        if (const std::optional<FolderIdentity> identity = lister.Identify(root)) walked.ReserveRoot(*identity);
    }
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
