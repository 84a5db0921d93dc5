#pragma once
// The walk lists folders through this seam: on Windows (scan/win32) by GetFileInformationByHandleEx
// on the folder's own handle, FindFirstFileExW only where a file system refuses those records;
// natively (scan/posix) by opendir/readdir.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qorvani {

// Which folder a path names, links followed: the walk's key for its volume (ScanVolumes: told
// apart by the volume's GUID, never by its serial number alone) and the folder's file ID on it
// (128 bits where the system gives them: a 64-bit index is not unique on ReFS). Two paths with
// the same identity name the same folder, on a volume whose file system keeps IDs unique.
struct FolderIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t indexHigh = 0;
    friend bool operator==(const FolderIdentity&, const FolderIdentity&) = default;
};

// Where a folder lives, as its own open handle tells it, links followed.
struct FolderPlace {
    // What tells its volume apart from every other: the volume GUID path ("\\?\Volume{…}\") on
    // Windows, the device number natively; empty when the system gives none (a network share).
    std::wstring volumeName;
    // Where no name is given: the volume's root as a path ("\\?\UNC\server\share\") and its serial
    // number, which alone would not tell a cloned disk from its original.
    std::wstring volumePath;
    std::uint32_t serial = 0;
    // The folder is the root of its volume (a drive's, a mount point's), as the volume API says
    // of the folder's final path: never guessed from its ID (a FAT root's ID is 0).
    bool volumeRoot = false;
    // The folder's path with every link resolved, ending in the separator; empty when unknown.
    std::wstring finalPath;
    // Its file ID, both halves 0 when the system gives none.
    std::uint64_t idLow = 0;
    std::uint64_t idHigh = 0;
};

// What a volume's file system says of itself (GetVolumeInformationByHandleW): its name ("NTFS")
// and its flags. Asked once per volume.
struct FileSystemFacts {
    std::wstring name;
    std::uint32_t flags = 0;
};

// How a listing reads its folder, best first: records with 128-bit IDs and no short names
// (Windows 8 on), records with 64-bit IDs and short names, and FindFirstFileExW's records, which
// carry no IDs. A file system that refuses one is read with the next.
enum class ListingKind : std::uint8_t { IdExtd, IdBoth, Find };

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
    // The current entry's last write, in FILETIME ticks (100 ns since 1601-01-01, UTC); nothing
    // when the listing cannot tell. Asked only for files that matched.
    virtual std::optional<std::uint64_t> LastWrite() const { return std::nullopt; }
    // Where this listed folder lives, read from the listing's own handle (no path look-up of its
    // own); nothing when the system cannot tell. Asked for roots and links only.
    virtual std::optional<FolderPlace> Place() const { return std::nullopt; }
    // The listed folder's file system; asked once per volume.
    virtual std::optional<FileSystemFacts> FileSystem() const { return std::nullopt; }
    // True when the current folder entry may lead elsewhere (a junction, a symbolic link, a
    // mount point, or an entry the listing cannot tell): its place is asked of its own handle.
    // A plain subfolder lives on the listed folder's volume and is not its root.
    virtual bool EntryIsLink() const { return true; }
    // The current plain folder entry's file ID, when the listing carries it: its identity is
    // then the listed folder's volume with this ID, known without opening it.
    virtual std::optional<std::uint64_t> EntryFileId() const { return std::nullopt; }
    // The records to read the folder with, told before the first Next(): the kind that last
    // answered on the folder's volume. After the first Next(), Answered() is the kind that
    // answered (with entries, or with none for an empty folder), or nothing when none did.
    virtual void StartWith(ListingKind /*kind*/) {}
    virtual std::optional<ListingKind> Answered() const { return std::nullopt; }
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
    // The place of the folder that folderPath (ending in Separator()) names, following links;
    // nothing when the system cannot tell it. Asked once per scan root.
    virtual std::optional<FolderPlace> Identify(const std::wstring& /*folderPath*/) { return std::nullopt; }
    // The root of the volume that holds folderPath, as a folder path ("C:\", a mount point's
    // folder, "\\server\share\"); empty when the system cannot tell. Asked once per scan root.
    virtual std::wstring VolumeRoot(const std::wstring& /*folderPath*/) { return {}; }
};

}  // namespace qorvani
