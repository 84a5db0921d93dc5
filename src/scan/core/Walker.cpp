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

}  // namespace

// The walk keeps its own stack of open listings instead of calling itself, so that a tree
// thousands of folders deep (a loop through folder links) cannot exhaust the thread's stack.
// It does exactly what the plain recursive walk does: a folder is entered (stop test, status,
// waiting input, listing) at the moment its entry is met, its whole subtree is walked before
// its parent's next entry, and a stop request only keeps further folders from being entered.
//
// A folder link is descended like any folder unless it leads back to a folder on the current
// path (the root, or one of the open folders), which would walk the same files again and again
// without end. Such a link is passed over like a folder that cannot be listed. Only link entries
// pay for the check; the identities of the open folders are asked for the first time a link is
// met below them, and kept while they stay open.
void ScanFolder(const std::wstring& path, DirectoryLister& lister, const MaskSet& masks,
                WalkSink& sink, ScanState& state) {
    struct OpenFolder {
        std::unique_ptr<DirectoryListing> listing;
        std::size_t pathLength;
        bool identityAsked = false;
        std::optional<FolderIdentity> identity;
    };
    std::vector<OpenFolder> open;
    std::wstring folder = path;  // the path of the innermost open folder, or of the one entered
    std::wstring upperName;
    const wchar_t separator = lister.Separator();

    // True when the folder in folder (a link's path) is one of the open folders.
    auto closesLoop = [&]() {
        const std::optional<FolderIdentity> target = lister.Identify(folder);
        if (!target) return false;
        for (OpenFolder& above : open) {
            if (!above.identityAsked) {
                above.identityAsked = true;
                above.identity = lister.Identify(folder.substr(0, above.pathLength));
            }
            if (above.identity == target) return true;
        }
        return false;
    };

    // Enters the folder whose path is in folder; false when it is not walked. A folder whose
    // name no path can hold, or a link back to an open folder, is entered as one that cannot be
    // listed.
    auto enter = [&](bool walkable) {
        if (state.stopRequested) return false;
        sink.ShowFolder(folder);
        sink.InputPoint();
        if (!walkable) return false;
        std::unique_ptr<DirectoryListing> listing = lister.Open(folder);
        if (!listing) return false;
        open.push_back({std::move(listing), folder.size(), false, std::nullopt});
        return true;
    };

    enter(true);
    while (!open.empty()) {
        DirectoryListing& listing = *open.back().listing;
        if (!listing.Next()) {
            open.pop_back();
            if (!open.empty()) folder.resize(open.back().pathLength);
            continue;
        }
        sink.Step();
        const std::wstring_view name = listing.Name();
        if (IsDotOrDotDot(name)) continue;
        if (listing.IsFolder()) {
            const std::size_t parentLength = folder.size();
            bool walkable = lister.CanNameFolder(name);
            const bool link = walkable && listing.IsLink();
            folder.append(name);
            folder.push_back(separator);
            if (link && !state.stopRequested && closesLoop()) walkable = false;
            if (!enter(walkable)) folder.resize(parentLength);
            continue;
        }
        if (masks.Empty()) continue;
        upperName.assign(name);
        UpperCaseInPlace(upperName);
        if (masks.Matches(upperName)) {
            const std::uint64_t size = listing.Size();
            sink.AppendMatch(folder, name, size);
            state.totalBytes += size;
        }
    }
}

}  // namespace qorvani
