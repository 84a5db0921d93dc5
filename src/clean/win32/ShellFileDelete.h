#pragma once
#include <windows.h>

#include <string>

#include "clean/core/DeleteCommand.h"
#include "clean/core/ExactLookup.h"
#include "clean/win32/RecycleBinFacts.h"
#include "clean/win32/RecycleItemDelete.h"
#include "common/core/Pacing.h"

namespace qorvani {

// Deletes one file per call, owned by the given window: into the Recycle Bin through the shell's
// IFileOperation, which tells whether the bin took the file (RecycleItemDelete), or through
// SHFileOperationW where that cannot be had (Wine) and for good; looks paths up by their exact
// names (ExactLookup) through GetFileAttributesExW and FindFirstFileExW. One object serves one
// delete pass.
class ShellFileDelete final : public FileShell, private EntryProbe {
public:
    // pace.AtWork runs at every entry that a listing gives (a folder of many thousand files takes
    // a while).
    ShellFileDelete(HWND owner, Pacing& pace) : owner_(owner), pace_(pace), recycle_(owner) {}
    PathKind Inspect(const std::wstring& path) override { return lookup_.Inspect(path); }
    PathKind InspectAfterCalls(const std::wstring& path) override { return lookup_.InspectAfterCalls(path); }
    BinFacts RecycleBinOf(const std::wstring& path) override { return bins_.Of(path); }
    int DeleteOneFile(const std::wstring& path, std::uint16_t flags) override;
    SentFate FateOfLastDelete() override { return lastFate_; }

private:
    std::uint32_t Stamp(const std::wstring& path, EntryStamp& stamp) override;
    std::uint32_t List(const std::wstring& pattern, std::vector<ListedEntry>& entries) override;
    std::uint32_t Reach(const std::wstring& pattern) override;

    HWND owner_;
    Pacing& pace_;
    ExactLookup lookup_{*this};
    RecycleBinFacts bins_;
    RecycleItemDelete recycle_;
    SentFate lastFate_ = SentFate::Untold;
};

}  // namespace qorvani
