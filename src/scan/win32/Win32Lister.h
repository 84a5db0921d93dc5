#pragma once
#include "scan/core/DirectoryLister.h"

namespace qorvani {

// Lists folders with FindFirstFileExW (basic information, large fetch). A folder path whose
// pattern would exceed MAX_PATH is not listed: that bounds the depth of the walk.
class Win32Lister final : public DirectoryLister {
public:
    wchar_t Separator() const override { return L'\\'; }
    std::unique_ptr<DirectoryListing> Open(const std::wstring& folderPath) override;
};

}  // namespace qorvani
