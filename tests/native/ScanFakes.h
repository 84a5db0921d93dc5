#pragma once
// Test doubles for the scanner: an in-memory folder tree behind the lister seam and a sink
// that records what the walk reports, in order.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/core/DirectoryLister.h"
#include "scan/core/UpperCase.h"
#include "scan/core/Walker.h"

namespace qorvani::scantest {

struct FakeEntry {
    std::wstring name;
    bool folder = false;
    std::uint64_t size = 0;
    bool link = false;
};

// Folders are listed with "." and ".." first, then their entries in the order they were added.
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
    // A folder whose identity the system cannot tell.
    void MakeUnidentifiable(const std::wstring& path) { unidentifiable_.push_back(path); }
    void AddFile(const std::wstring& folder, const std::wstring& name, std::uint64_t size = 0) {
        MakeFolder(folder);
        folders_[folder].push_back({name, false, size});
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

    wchar_t Separator() const override { return separator_; }

    std::unique_ptr<DirectoryListing> Open(const std::wstring& folderPath) override {
        opened.push_back(folderPath);
        const std::wstring real = Resolve(folderPath);
        const auto found = folders_.find(real);
        if (found == folders_.end()) return nullptr;
        return std::make_unique<Listing>(found->second, sizeQueries, IdentityOf(real), *this, real);
    }

    std::optional<FolderIdentity> Identify(const std::wstring& folderPath) override {
        identified.push_back(folderPath);
        return IdentityOf(Resolve(folderPath));
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
    std::vector<std::wstring> opened;      // every Open, in order
    std::vector<std::wstring> identified;  // every Identify, in order
    int sizeQueries = 0;

    // A folder's volume: the one set for the longest path above it, else 7.
    void SetVolume(const std::wstring& path, std::uint64_t volume) { volumes_[path] = volume; }

private:
    std::optional<FolderIdentity> IdentityOf(const std::wstring& real) const {
        for (const std::wstring& path : unidentifiable_)
            if (path == real) return std::nullopt;
        const auto found = ids_.find(real);
        if (found == ids_.end()) return std::nullopt;
        std::uint64_t volume = 7;
        std::size_t longest = 0;
        for (const auto& [path, id] : volumes_)
            if (real.compare(0, path.size(), path) == 0 && path.size() >= longest) {
                longest = path.size();
                volume = id;
            }
        return FolderIdentity{volume, found->second};
    }

    class Listing : public DirectoryListing {
    public:
        Listing(const std::vector<FakeEntry>& entries, int& sizeQueries, std::optional<FolderIdentity> identity,
                const FakeLister& owner, std::wstring path)
            : entries_(entries), sizeQueries_(sizeQueries), identity_(identity), owner_(owner), path_(std::move(path)) {}
        std::optional<std::uint64_t> EntryFileId() const override {
            const FakeEntry& entry = entries_[index_];
            if (!owner_.entryIds || entry.link) return std::nullopt;
            const auto id = owner_.IdentityOf(path_ + entry.name + owner_.separator_);
            return id ? std::optional<std::uint64_t>(id->index) : std::nullopt;
        }
        bool Next() override { return ++index_ < entries_.size(); }
        std::wstring_view Name() const override { return entries_[index_].name; }
        bool IsFolder() const override { return entries_[index_].folder; }
        std::uint64_t Size() override {
            ++sizeQueries_;
            return entries_[index_].size;
        }
        std::optional<FolderIdentity> Identity() const override { return identity_; }

    private:
        const std::vector<FakeEntry>& entries_;
        int& sizeQueries_;
        std::optional<FolderIdentity> identity_;
        const FakeLister& owner_;
        std::wstring path_;
        std::size_t index_ = static_cast<std::size_t>(-1);
    };

    wchar_t separator_;
    std::map<std::wstring, std::vector<FakeEntry>> folders_;
    std::map<std::wstring, std::uint64_t> ids_;
    std::map<std::wstring, std::wstring> links_;
    std::map<std::wstring, std::uint64_t> volumes_;
    std::vector<std::wstring> unidentifiable_;
};

struct Match {
    std::wstring folder;
    std::wstring name;
    std::wstring upperName;
    std::uint64_t size;
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
    void AppendMatch(const std::wstring& folder, std::wstring_view name, std::uint64_t size) override {
        log.push_back(L"match " + folder + std::wstring(name));
        matches.push_back({folder, std::wstring(name), UpperCase(name), size});
    }

    std::vector<std::wstring> log;
    std::vector<std::wstring> shown;
    std::vector<Match> matches;
    std::function<void(const std::wstring& path)> onShowFolder;
    std::function<void(const std::wstring& lastShown)> onWaitingInput;
};

}  // namespace qorvani::scantest
