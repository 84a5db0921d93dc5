#pragma once
#include "scan/core/DirectoryLister.h"

namespace qorvani {

// Lists folders with FindFirstFileExW (basic information, large fetch). A folder path whose
// pattern would exceed MAX_PATH is not listed: that bounds the depth of the walk.
class Win32Lister final : public DirectoryLister {
public:
    wchar_t Separator() const override { return L'\\'; }
    std::unique_ptr<DirectoryListing> Open(const std::wstring& folderPath) override;
    // Wine lists Linux names as they are: a folder "x\y" would be listed as the folder y in x,
    // "d." as d, "\xFE" (listed as U+FFFD) as a real U+FFFD folder beside it, and names holding
    // wildcards cannot be listed at all. Such folders are not walked.
    bool CanNameFolder(std::wstring_view name) const override;
    std::wstring FullPath(const std::wstring& path) override;  // GetFullPathNameW
};

}  // namespace qorvani
