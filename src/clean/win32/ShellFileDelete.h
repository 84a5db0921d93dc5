#pragma once
#include <windows.h>

#include "clean/core/DeleteCommand.h"

namespace qorvani {

// Deletes through SHFileOperationW, one file per call, owned by the given window.
class ShellFileDelete final : public FileShell {
public:
    explicit ShellFileDelete(HWND owner) : owner_(owner) {}
    PathKind Inspect(const std::wstring& path) override;
    int DeleteOneFile(const std::wstring& path, std::uint16_t flags) override;

private:
    HWND owner_;
};

}  // namespace qorvani
