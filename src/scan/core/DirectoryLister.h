#pragma once
// The walk lists folders through this seam: FindFirstFileExW on Windows (scan/win32),
// opendir/readdir natively (scan/posix).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qorvani {

// One open listing of one folder. Next() moves to the next entry ("." and ".." included as the
// system gives them); the accessors describe the current entry until the next call.
class DirectoryListing {
public:
    virtual ~DirectoryListing() = default;
    virtual bool Next() = 0;
    virtual std::wstring_view Name() const = 0;
    virtual bool IsFolder() const = 0;
    // The current entry's size in bytes; asked only for files that matched.
    virtual std::uint64_t Size() = 0;
    // True when the current folder entry is a link to a folder (a reparse point on Windows, a
    // symbolic link natively). Asked only for folders; only links can close a loop.
    virtual bool IsLink() const { return false; }
};

// Which folder a path names, links followed: the volume and the file's index on it. Two paths
// with the same identity name the same folder.
struct FolderIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
};

class DirectoryLister {
public:
    virtual ~DirectoryLister() = default;
    // The character that ends every folder path: '\' on Windows, '/' natively.
    virtual wchar_t Separator() const = 0;
    // Opens a listing of folderPath (which ends in Separator()); nullptr when it cannot be listed.
    virtual std::unique_ptr<DirectoryListing> Open(const std::wstring& folderPath) = 0;
    // False for a listed folder name that a path cannot name as it is (a path made from it would
    // name another folder, or none): the walk passes such a folder over like one it cannot list.
    virtual bool CanNameFolder(std::wstring_view /*name*/) const { return true; }
    // The path made full as the system resolves it, against the current drive and folder
    // (GetFullPathNameW on Windows); empty when it cannot be. A scan root that is not fully
    // qualified goes through it once, at scan start.
    virtual std::wstring FullPath(const std::wstring& /*path*/) { return {}; }
    // The identity of the folder that folderPath (ending in Separator()) names, following links;
    // nothing when the system cannot tell it.
    virtual std::optional<FolderIdentity> Identify(const std::wstring& /*folderPath*/) { return std::nullopt; }
};

}  // namespace qorvani
