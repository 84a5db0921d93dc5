#pragma once
#include <windows.h>

#include "clean/core/DeleteCommand.h"
#include "clean/core/ExactLookup.h"

namespace qorvani {

// Deletes through SHFileOperationW, one file per call, owned by the given window; looks paths up
// by their exact names (ExactLookup) through GetFileAttributesExW and FindFirstFileExW. One
// object serves one delete pass.
class ShellFileDelete final : public FileShell, private EntryProbe {
public:
    explicit ShellFileDelete(HWND owner) : owner_(owner) {}
    PathKind Inspect(const std::wstring& path) override { return lookup_.Inspect(path); }
    PathKind InspectAfterCalls(const std::wstring& path) override { return lookup_.InspectAfterCalls(path); }
    int DeleteOneFile(const std::wstring& path, std::uint16_t flags) override;

private:
    std::uint32_t Stamp(const std::wstring& path, EntryStamp& stamp) override;
    std::uint32_t List(const std::wstring& pattern, std::vector<ListedEntry>& entries) override;

    HWND owner_;
    ExactLookup lookup_{*this};
};

}  // namespace qorvani
