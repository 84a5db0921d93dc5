#include "scan/win32/Win32Lister.h"

#include <windows.h>

#include <optional>

#include "common/win32/Handles.h"
#include "scan/core/RedirectedFolders.h"

namespace qorvani {
namespace {

// FileIdInfo (Windows 8 and later) and its record, which the Windows 7 headers leave out.
constexpr auto kFileIdInfoClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);
struct FileIdInfoRecord {
    ULONGLONG volumeSerialNumber;
    BYTE fileId[16];
};
static_assert(sizeof(FileIdInfoRecord) == 24);

// The identity of the folder open as handle: the 128-bit file ID where the system gives one,
// else the volume serial number and 64-bit file index (Windows 7, and file systems without it).
std::optional<FolderIdentity> IdentityOf(HANDLE handle) {
    FileIdInfoRecord id{};
    if (GetFileInformationByHandleEx(handle, kFileIdInfoClass, &id, sizeof id)) {
        std::uint64_t low = 0, high = 0;
        for (int i = 7; i >= 0; --i) low = (low << 8) | id.fileId[i];
        for (int i = 15; i >= 8; --i) high = (high << 8) | id.fileId[i];
        if (low == 0 && high == 0) return std::nullopt;  // a file system that gives no IDs
        return FolderIdentity{id.volumeSerialNumber, low, high};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
    const std::uint64_t index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    if (index == 0) return std::nullopt;
    return FolderIdentity{info.dwVolumeSerialNumber, index};
}

// Opens a folder for listing (backup semantics, so that a folder opens at all; links followed).
KernelHandle OpenFolder(const std::wstring& path, DWORD access) {
    return KernelHandle(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// Lists a folder through its own handle, a buffer of records at a time (what FindFirstFileExW
// does underneath); the same handle tells the folder's identity.
class Win32Listing final : public DirectoryListing {
public:
    Win32Listing(KernelHandle folder, bool identities)
        : folder_(std::move(folder)), buffer_(new std::uint64_t[kBufferWords]), identities_(identities) {}

    bool Next() override {
        if (entry_ != nullptr && entry_->NextEntryOffset != 0) {
            entry_ = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(reinterpret_cast<const BYTE*>(entry_) +
                                                                     entry_->NextEntryOffset);
            return true;
        }
        if (ended_) return false;
        if (!GetFileInformationByHandleEx(folder_.Get(), FileIdBothDirectoryInfo, buffer_.get(),
                                          kBufferWords * sizeof(std::uint64_t))) {
            ended_ = true;  // no more files, or a failure: what was listed stays listed
            entry_ = nullptr;
            return false;
        }
        entry_ = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer_.get());
        return true;
    }
    std::wstring_view Name() const override {
        return std::wstring_view(entry_->FileName, entry_->FileNameLength / sizeof(wchar_t));
    }
    bool IsFolder() const override { return (entry_->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    std::uint64_t Size() override { return static_cast<std::uint64_t>(entry_->EndOfFile.QuadPart); }
    std::optional<FolderIdentity> Identity() const override {
        return identities_ ? IdentityOf(folder_.Get()) : std::nullopt;
    }

private:
    static constexpr std::size_t kBufferWords = 64 * 1024 / sizeof(std::uint64_t);
    KernelHandle folder_;
    std::unique_ptr<std::uint64_t[]> buffer_;  // 8-byte aligned, as the records need
    const FILE_ID_BOTH_DIR_INFO* entry_ = nullptr;
    bool ended_ = false;
    bool identities_;
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
    // The same bound as a listing pattern (the path and "*.*") below MAX_PATH.
    if (folderPath.size() + 3 >= MAX_PATH) return nullptr;
    if (redirected_.Covers(folderPath)) return nullptr;
    // Reading the attributes is what the identity needs (it is granted with the right to list).
    KernelHandle folder = OpenFolder(folderPath, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES);
    if (!folder.Valid()) return nullptr;
    return std::make_unique<Win32Listing>(std::move(folder), identities_);
}

std::optional<FolderIdentity> Win32Lister::Identify(const std::wstring& folderPath) {
    KernelHandle folder = OpenFolder(folderPath, FILE_READ_ATTRIBUTES);
    if (!folder.Valid() || !identities_) return std::nullopt;
    return IdentityOf(folder.Get());
}

std::wstring Win32Lister::VolumeRoot(const std::wstring& folderPath) {
    wchar_t root[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(folderPath.c_str(), root, MAX_PATH + 1)) return {};
    std::wstring text(root);
    if (!text.empty() && text.back() != L'\\') text.push_back(L'\\');
    return text;
}

}  // namespace qorvani
