#pragma once
// The walk lists folders through this seam: FindFirstFileExW on Windows (scan/win32),
// opendir/readdir natively (scan/posix).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qorvani {

// Which folder a path names, links followed: the volume's serial number and the folder's file ID
// on it (128 bits where the system gives them: a 64-bit index is not unique on ReFS). Two paths
// with the same identity name the same folder.
struct FolderIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t indexHigh = 0;
    friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
};

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
    // Which folder this listing lists, links followed, read from the listing's own handle (no
    // handle or path look-up of its own); nothing when the system cannot tell.
    virtual std::optional<FolderIdentity> Identity() const { return std::nullopt; }
    // The current folder entry's file ID, when the listing carries it and the entry is a plain
    // folder (no link): its identity is then the listed folder's volume with this ID, known
    // without opening it. Nothing for links, or when the listing does not tell.
    virtual std::optional<std::uint64_t> EntryFileId() const { return std::nullopt; }
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
    // nothing when the system cannot tell it. Asked once per scan root.
    virtual std::optional<FolderIdentity> Identify(const std::wstring& /*folderPath*/) { return std::nullopt; }
    // The root of the volume that holds folderPath, as a folder path ("C:\", a mount point's
    // folder, "\\server\share\"); empty when the system cannot tell. Asked once per scan root.
    virtual std::wstring VolumeRoot(const std::wstring& /*folderPath*/) { return {}; }
};

}  // namespace qorvani
