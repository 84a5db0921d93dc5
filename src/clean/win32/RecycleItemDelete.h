#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "clean/core/RecycleBin.h"
#include "common/win32/Handles.h"

namespace qorvani {

// Sends one file to the Recycle Bin through the shell's IFileOperation, whose progress sink says
// whether the bin took the file (PostDeleteItem's new item is the file in the bin) or the shell
// destroyed it. COM is set up for the thread (a single-threaded apartment) at the first file, for
// as long as the object lives, unless the thread already has it.
class RecycleItemDelete {
public:
    explicit RecycleItemDelete(HWND owner) : owner_(owner) {}

    struct Result {
        int code = 0;  // the operation's HRESULT
        SentFate fate = SentFate::Untold;
    };
    // The shell's answer for the file, or nothing when IFileOperation cannot be had or does not
    // perform (Wine's answers E_NOTIMPL): nothing was done, and the caller sends the file another
    // way. After the first such answer, every later file gets nothing at once.
    std::optional<Result> Delete(const std::wstring& path, std::uint16_t flags);

private:
    HWND owner_;
    bool tried_ = false;
    bool unavailable_ = false;
    ComApartment com_;
};

}  // namespace qorvani
