#include "scan/win32/Win32Lister.h"

#include <windows.h>
#include <versionhelpers.h>

#include <optional>

#include "common/win32/Handles.h"
#include "scan/core/RedirectedFolders.h"
#include "scan/core/WindowsNames.h"

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

// FileIdExtdDirectoryInfo (Windows 8 and later) and its record: the entries with their 128-bit
// file IDs and no short names, which the Windows 7 headers leave out.
constexpr auto kFileIdExtdDirectoryInfoClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(19);
struct IdExtdRecord {
    ULONG NextEntryOffset;
    ULONG FileIndex;
    LARGE_INTEGER CreationTime, LastAccessTime, LastWriteTime, ChangeTime, EndOfFile, AllocationSize;
    ULONG FileAttributes;
    ULONG FileNameLength;
    ULONG EaSize;
    ULONG ReparsePointTag;
    BYTE FileId[16];
    WCHAR FileName[1];
};

// Lists a folder through its own handle, a buffer of records at a time (what FindFirstFileExW
// does underneath). Each record carries its entry's file ID, so a plain subfolder is known
// without a call of its own; the handle tells the folder's own identity when it is asked (a
// root, a folder reached through a link: about half a millisecond under Wine). Windows 7 knows
// only the records with short names (FileIdBothDirectoryInfo), which cost more to make.
class Win32Listing final : public DirectoryListing {
public:
    Win32Listing(KernelHandle folder, bool identities, bool extended)
        : folder_(std::move(folder)), buffer_(new std::uint64_t[kBufferWords]), extended_(extended),
          identities_(identities) {}

    bool Next() override {
        if (entry_ != nullptr && Field(&IdExtdRecord::NextEntryOffset, &FILE_ID_BOTH_DIR_INFO::NextEntryOffset) != 0) {
            entry_ += Field(&IdExtdRecord::NextEntryOffset, &FILE_ID_BOTH_DIR_INFO::NextEntryOffset);
            return true;
        }
        if (ended_ || !Fill()) {
            ended_ = true;  // no more files, or a failure: what was listed stays listed
            entry_ = nullptr;
            return false;
        }
        entry_ = reinterpret_cast<const BYTE*>(buffer_.get());
        return true;
    }
    std::wstring_view Name() const override {
        const DWORD bytes = Field(&IdExtdRecord::FileNameLength, &FILE_ID_BOTH_DIR_INFO::FileNameLength);
        const WCHAR* name = extended_ ? Extd()->FileName : Both()->FileName;
        return std::wstring_view(name, bytes / sizeof(wchar_t));
    }
    bool IsFolder() const override { return (Attributes() & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    std::uint64_t Size() override {
        return static_cast<std::uint64_t>(extended_ ? Extd()->EndOfFile.QuadPart : Both()->EndOfFile.QuadPart);
    }
    std::optional<FolderIdentity> Identity() const override {
        return identities_ ? IdentityOf(folder_.Get()) : std::nullopt;
    }
    // A reparse point (a junction, a symbolic link, a mount point) names another folder, perhaps
    // on another volume: it has no ID to give here.
    std::optional<std::uint64_t> EntryFileId() const override {
        if (!identities_ || (Attributes() & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return std::nullopt;
        std::uint64_t id = 0;
        if (extended_) {
            // Past 64 bits (ReFS) the 64-bit form would not be unique: asked of the handle instead.
            for (int i = 15; i >= 8; --i)
                if (Extd()->FileId[i] != 0) return std::nullopt;
            for (int i = 7; i >= 0; --i) id = (id << 8) | Extd()->FileId[i];
        } else {
            id = static_cast<std::uint64_t>(Both()->FileId.QuadPart);
        }
        return id != 0 ? std::optional<std::uint64_t>(id) : std::nullopt;
    }

private:
    static constexpr std::size_t kBufferWords = 64 * 1024 / sizeof(std::uint64_t);
    const IdExtdRecord* Extd() const { return reinterpret_cast<const IdExtdRecord*>(entry_); }
    const FILE_ID_BOTH_DIR_INFO* Both() const { return reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(entry_); }
    template <typename A, typename B>
    DWORD Field(A IdExtdRecord::*extd, B FILE_ID_BOTH_DIR_INFO::*both) const {
        return extended_ ? Extd()->*extd : Both()->*both;
    }
    DWORD Attributes() const { return Field(&IdExtdRecord::FileAttributes, &FILE_ID_BOTH_DIR_INFO::FileAttributes); }
    bool Fill() {
        const DWORD bytes = kBufferWords * sizeof(std::uint64_t);
        if (extended_) {
            if (GetFileInformationByHandleEx(folder_.Get(), kFileIdExtdDirectoryInfoClass, buffer_.get(), bytes)) {
                started_ = true;
                return true;
            }
            if (started_ || GetLastError() != ERROR_INVALID_PARAMETER) return false;
            extended_ = false;  // a file system without the class
        }
        started_ = true;
        return GetFileInformationByHandleEx(folder_.Get(), FileIdBothDirectoryInfo, buffer_.get(), bytes) != FALSE;
    }

    KernelHandle folder_;
    std::unique_ptr<std::uint64_t[]> buffer_;  // 8-byte aligned, as the records need
    const BYTE* entry_ = nullptr;
    bool ended_ = false;
    bool extended_;
    bool started_ = false;
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

bool Win32Lister::CanNameFolder(std::wstring_view name) const { return FolderNameListable(name); }

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
    return std::make_unique<Win32Listing>(std::move(folder), identities_, extendedRecords_);
}

bool Win32Lister::SystemHasExtendedRecords() { return IsWindows8OrGreater(); }

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
