#pragma once
#include <windows.h>

#include <map>
#include <string>

#include "clean/core/DeleteCommand.h"
#include "clean/core/ExactLookup.h"
#include "common/core/Pacing.h"

namespace qorvani {

// Deletes through SHFileOperationW, one file per call, owned by the given window; looks paths up
// by their exact names (ExactLookup) through GetFileAttributesExW and FindFirstFileExW. One
// object serves one delete pass.
class ShellFileDelete final : public FileShell, private EntryProbe {
public:
    // pace.AtWork runs at every entry that a listing gives (a folder of many thousand files takes
    // a while).
    ShellFileDelete(HWND owner, Pacing& pace) : owner_(owner), pace_(pace) {}
    PathKind Inspect(const std::wstring& path) override { return lookup_.Inspect(path); }
    PathKind InspectAfterCalls(const std::wstring& path) override { return lookup_.InspectAfterCalls(path); }
    // Asks the volume's Recycle Bin (SHQueryRecycleBinW) and its drive type, once per volume.
    bool CanRecycle(const std::wstring& path) override;
    int DeleteOneFile(const std::wstring& path, std::uint16_t flags) override;

private:
    std::uint32_t Stamp(const std::wstring& path, EntryStamp& stamp) override;
    std::uint32_t List(const std::wstring& pattern, std::vector<ListedEntry>& entries) override;
    std::uint32_t Reach(const std::wstring& pattern) override;

    HWND owner_;
    Pacing& pace_;
    ExactLookup lookup_{*this};
    std::map<std::wstring, bool> recycles_;  // by volume root
};

}  // namespace qorvani
