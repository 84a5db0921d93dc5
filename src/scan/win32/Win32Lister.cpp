#include "scan/win32/Win32Lister.h"

#include <windows.h>

#include <optional>

#include "common/win32/Handles.h"
#include "scan/core/RedirectedFolders.h"

namespace qorvani {
namespace {

class Win32Listing final : public DirectoryListing {
public:
    Win32Listing(FindHandle handle, const WIN32_FIND_DATAW& first) : handle_(std::move(handle)), data_(first) {}

    bool Next() override {
        if (first_) {
            first_ = false;
            return true;
        }
        return FindNextFileW(handle_.Get(), &data_) != FALSE;
    }
    std::wstring_view Name() const override {
        // cFileName is NUL-terminated within its MAX_PATH characters.
        const wchar_t* name = data_.cFileName;
        std::size_t length = 0;
        while (length < MAX_PATH && name[length] != L'\0') ++length;
        return std::wstring_view(name, length);
    }
    bool IsFolder() const override { return (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // Junctions, symbolic links and mount points (and Wine's view of a Linux symbolic link) are
    // folders marked as reparse points.
    bool IsLink() const override { return (data_.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
    std::uint64_t Size() override {
        return (static_cast<std::uint64_t>(data_.nFileSizeHigh) << 32) | data_.nFileSizeLow;
    }

private:
    FindHandle handle_;
    WIN32_FIND_DATAW data_;
    bool first_ = true;
};

std::wstring SystemFolder(UINT(WINAPI* get)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = get(buffer, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

bool RunsUnderWow64() {
    // IsWow64Process2 (Windows 10 1709 and later) is looked up, so that the program still starts
    // on Windows 7.
    using IsWow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    std::optional<std::uint16_t> processMachine;
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        const auto ask = reinterpret_cast<IsWow64Process2Function>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process2")));
        USHORT process = 0, native = 0;
        if (ask != nullptr && ask(GetCurrentProcess(), &process, &native)) processMachine = process;
    }
    std::optional<bool> isWow64;
    if (!processMachine) {
        BOOL wow64 = FALSE;
        if (IsWow64Process(GetCurrentProcess(), &wow64)) isWow64 = wow64 != FALSE;
    }
    return RunsUnderWow64(processMachine, isWow64);
}

Win32Lister::Win32Lister() {
    if (!RunsUnderWow64()) return;
    const std::wstring windows = SystemFolder(GetSystemWindowsDirectoryW);
    const std::wstring system = SystemFolder(GetSystemDirectoryW);
    if (!windows.empty() && !system.empty()) redirected_ = Wow64RedirectedFolders(windows, system);
}

bool Win32Lister::CanNameFolder(std::wstring_view name) const {
    if (name.empty() || name.back() == L'.') return false;  // Windows drops a trailing dot
    for (wchar_t c : name) {
        switch (c) {
        case L'\\': case L'/': case L'*': case L'?': case L'"': case L'<': case L'>': case L'|':
        case 0xFFFD:  // stands for bytes that could not be decoded
            return false;
        default:
            if (c < 0x20) return false;
        }
    }
    return true;
}

std::wstring Win32Lister::FullPath(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return {};
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.assign(length, L'\0');  // too small: length counts the NUL
    }
    return {};
}

std::unique_ptr<DirectoryListing> Win32Lister::Open(const std::wstring& folderPath) {
    std::wstring pattern = folderPath + L"*.*";
    if (pattern.size() >= MAX_PATH) return nullptr;
    if (redirected_.Covers(folderPath)) return nullptr;
    WIN32_FIND_DATAW data;
    FindHandle handle(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                       FIND_FIRST_EX_LARGE_FETCH));
    if (!handle.Valid()) return nullptr;
    return std::make_unique<Win32Listing>(std::move(handle), data);
}

std::optional<FolderIdentity> Win32Lister::Identify(const std::wstring& folderPath) {
    // Opening the folder itself (backup semantics, no access asked) follows a link to its target.
    KernelHandle folder(CreateFileW(folderPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder.Valid()) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(folder.Get(), &info)) return std::nullopt;
    return FolderIdentity{info.dwVolumeSerialNumber,
                          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace qorvani
