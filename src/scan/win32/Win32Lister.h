#pragma once
#include <memory>

#include "scan/core/DirectoryLister.h"
#include "scan/core/RedirectedFolders.h"

namespace qorvani {

class ListingBuffers;

// Lists folders through a handle of their own (GetFileInformationByHandleEx, 64 KiB of records at
// a time, or FindFirstFileExW where a file system refuses those records), which also tells
// where each root and link leads. A folder path of MAX_PATH - 3 characters or more is not
// listed: that bounds the depth of the walk.
class Win32Lister final : public DirectoryLister {
public:
    // Asks the system whether this is a 32-bit program on 64-bit Windows; if so, the folders the
    // file-system redirector replaces are not listed (they would show another folder's files
    // under their name). Redirection itself stays on: the shell and the dialogs rely on it.
    Win32Lister();

    wchar_t Separator() const override { return L'\\'; }
    std::unique_ptr<DirectoryListing> Open(const std::wstring& folderPath) override;
    // Wine lists Linux names as they are: a folder "x\y" would be listed as the folder y in x,
    // "d." as d, "\xFE" (listed as U+FFFD) as a real U+FFFD folder beside it, and names holding
    // wildcards cannot be listed at all. Such folders are not walked.
    bool CanNameFolder(std::wstring_view name) const override;
    std::wstring FullPath(const std::wstring& path) override;  // GetFullPathNameW
    // The folder's volume (by GUID), whether it is the volume's root, and its ID, links followed.
    std::optional<FolderPlace> Identify(const std::wstring& folderPath) override;
    std::wstring VolumeRoot(const std::wstring& folderPath) override;  // GetVolumePathNameW

    // false: folders are walked as on a file system that gives no file IDs (some network
    // servers), where no folder can be known as walked before and only a link back to a folder
    // on the current path is passed over.
    void SetFolderIdentities(bool identities) { identities_ = identities; }

private:
    RedirectedFolders redirected_;
    bool identities_ = true;
    // The open listings' record buffers, reused from folder to folder during a walk.
    std::shared_ptr<ListingBuffers> buffers_;
    // Whether listings ask for the records with 128-bit IDs first: the system has them from
    // Windows 8 on. Before that (Windows 7, and Wine, which reports itself as Windows 7) every
    // folder would pay a failed call for them.
    bool extendedRecords_ = SystemHasExtendedRecords();
    static bool SystemHasExtendedRecords();
};

// True for the 32-bit program running on 64-bit Windows, x64 or ARM64 (IsWow64Process2 where it
// exists, IsWow64Process before it).
bool RunsUnderWow64();

}  // namespace qorvani
