#pragma once
#include <string>

#include "scan/core/DirectoryLister.h"

namespace qorvani {

// Lists folders with opendir / readdir. Names are decoded from UTF-8 losslessly (Utf8Names.h)
// and encoded back the same way for the paths that it opens. A symbolic link to a folder
// counts as a folder, as Windows lists a folder link; sizes are those of the link's target.
// A folder's volume is its device, and its ID its inode number.
class PosixLister final : public DirectoryLister {
public:
    wchar_t Separator() const override { return L'/'; }
    std::unique_ptr<DirectoryListing> Open(const std::wstring& folderPath) override;
    std::optional<FolderPlace> Identify(const std::wstring& folderPath) override;

private:
    std::string pathBytes_;  // reused for every folder opened
};

}  // namespace qorvani
