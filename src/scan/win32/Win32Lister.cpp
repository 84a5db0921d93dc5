#include "scan/win32/Win32Lister.h"

#include <windows.h>
#include <versionhelpers.h>

#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "common/win32/Handles.h"
#include "scan/core/RedirectedFolders.h"
#include "scan/core/ScanVolumes.h"
#include "scan/core/WindowsNames.h"

namespace qorvani {
namespace {

static_assert(kListingFileNotFound == ERROR_FILE_NOT_FOUND && kListingNoMoreFiles == ERROR_NO_MORE_FILES);
static_assert(kSupportsOpenByFileId == FILE_SUPPORTS_OPEN_BY_FILE_ID);

// FileIdInfo (Windows 8 and later) and its record, which the Windows 7 headers leave out.
constexpr auto kFileIdInfoClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);
struct FileIdInfoRecord {
    ULONGLONG volumeSerialNumber;
    BYTE fileId[16];
};
static_assert(sizeof(FileIdInfoRecord) == 24);

// A text that a call writes into a buffer of the size it is given, answering the length it
// wrote, or the length it needs (counting the NUL) when the buffer is too small, or 0 on failure.
// The buffer starts at MAX_PATH and grows to what the call asks, a few times at most (a path may
// grow between two calls).
template <typename Call>
std::wstring GrownText(Call call) {
    std::wstring text(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0) return {};
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.assign(length, L'\0');
    }
    return {};
}

// The folder's path with links resolved, in the form asked: the volume GUID path and the path
// on the volume ("\\?\Volume{…}\dir"), or the DOS form ("\\?\C:\dir", "\\?\UNC\server\share\dir").
std::wstring FinalPath(HANDLE handle, DWORD form) {
    return GrownText([&](wchar_t* buffer, DWORD size) { return GetFinalPathNameByHandleW(handle, buffer, size, form); });
}

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// Where the folder open as handle lives: its volume told by its GUID where the volume has one
// (the same for every path to it, and apart from a clone with the same serial number); whether
// it is the volume's root, as its final path says (a root's GUID form holds nothing after the
// volume's name; without a GUID, GetVolumePathNameW of the final path gives the path itself);
// and its file ID: 128 bits where the system gives them (else the 64-bit index of Windows 7).
std::optional<FolderPlace> PlaceOf(HANDLE handle, bool identities) {
    FolderPlace place;
    std::wstring path = FinalPath(handle, FILE_NAME_NORMALIZED | VOLUME_NAME_GUID);
    constexpr std::wstring_view kVolumePrefix = L"\\\\?\\Volume{";
    const std::size_t nameEnd = path.starts_with(kVolumePrefix) ? path.find(L"}\\") : std::wstring::npos;
    if (nameEnd != std::wstring::npos) {
        place.volumeName = path.substr(0, nameEnd + 2);
        place.volumeRoot = path.size() == nameEnd + 2;
    } else {
        path = FinalPath(handle, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (path.empty()) return std::nullopt;
        if (path.back() != L'\\') path.push_back(L'\\');
        std::wstring root(path.size() + 2, L'\0');
        if (GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size()))) {
            root.resize(wcslen(root.c_str()));
            if (!root.empty() && root.back() != L'\\') root.push_back(L'\\');
            place.volumePath = root;
            place.volumeRoot = EqualIgnoringCase(root, path);
        }
    }
    if (path.back() != L'\\') path.push_back(L'\\');
    place.finalPath = std::move(path);

    FileIdInfoRecord id{};
    if (GetFileInformationByHandleEx(handle, kFileIdInfoClass, &id, sizeof id)) {
        place.serial = static_cast<std::uint32_t>(id.volumeSerialNumber);
        for (int i = 7; i >= 0; --i) place.idLow = (place.idLow << 8) | id.fileId[i];
        for (int i = 15; i >= 8; --i) place.idHigh = (place.idHigh << 8) | id.fileId[i];
    } else if (BY_HANDLE_FILE_INFORMATION info{}; GetFileInformationByHandle(handle, &info)) {
        place.serial = info.dwVolumeSerialNumber;
        place.idLow = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    if (!identities) place.idLow = place.idHigh = 0;
    return place;
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

}  // namespace

// The listings' 64 KiB record buffers, each its own allocation from the system (so that the
// memory goes back to it when freed, not into the heap). The walk keeps one listing open per
// folder on its path, so a buffer given back when a listing ends serves the next folder; when no
// listing is open (the walk has ended) the spare ones are freed.
class ListingBuffers {
public:
    static constexpr std::size_t kBytes = 64 * 1024;
    using Buffer = VirtualMemory;

    Buffer Take() {
        ++open_;
        if (spare_.empty()) {
            Buffer buffer(VirtualAlloc(nullptr, kBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
            if (!buffer.Valid()) throw std::bad_alloc();
            return buffer;
        }
        Buffer buffer = std::move(spare_.back());
        spare_.pop_back();
        return buffer;
    }
    void Give(Buffer buffer) {
        --open_;
        if (open_ == 0) {
            spare_.clear();
            spare_.shrink_to_fit();
        } else {
            spare_.push_back(std::move(buffer));
        }
    }

private:
    std::vector<Buffer> spare_;
    std::size_t open_ = 0;
};

namespace {

// Lists a folder through its own handle, a buffer of records at a time (what FindFirstFileExW
// does underneath). Each record carries its entry's file ID, so a plain subfolder is known
// without a call of its own; the handle tells the folder's own place when it is asked (a root,
// a folder reached through a link). Windows 7 knows only the records with short names
// (FileIdBothDirectoryInfo), which cost more to make. A file system that refuses the records
// asked for is read with the next kind (ReadFirstRecords), down to FindFirstFileExW.
class Win32Listing final : public DirectoryListing {
public:
    Win32Listing(KernelHandle folder, std::wstring pattern, bool identities, bool extended,
                 std::shared_ptr<ListingBuffers> buffers)
        : folder_(std::move(folder)), pattern_(std::move(pattern)), buffers_(std::move(buffers)),
          buffer_(buffers_->Take()), extended_(extended), identities_(identities) {}
    ~Win32Listing() override { buffers_->Give(std::move(buffer_)); }
    Win32Listing(const Win32Listing&) = delete;
    Win32Listing& operator=(const Win32Listing&) = delete;

    bool Next() override {
        if (!started_) {
            started_ = true;
            const FirstRecords first = ReadFirstRecords(start_, [this](ListingKind kind) { return FirstCall(kind); });
            answered_ = first.answered;
            if (!first.entries) return End();
            kind_ = *answered_;
            entry_ = reinterpret_cast<const BYTE*>(buffer_.Get());
            return true;
        }
        if (ended_) return false;
        if (kind_ == ListingKind::Find) return FindNextFileW(find_.Get(), &found_) ? true : End();
        if (const DWORD offset = Field(&IdExtdRecord::NextEntryOffset, &FILE_ID_BOTH_DIR_INFO::NextEntryOffset)) {
            entry_ += offset;
            return true;
        }
        // No more files, or a failure: what was listed stays listed.
        if (!GetFileInformationByHandleEx(folder_.Get(), RecordClass(kind_), buffer_.Get(), kBufferBytes)) return End();
        entry_ = reinterpret_cast<const BYTE*>(buffer_.Get());
        return true;
    }
    std::wstring_view Name() const override {
        switch (kind_) {
        case ListingKind::IdExtd:
            return std::wstring_view(Extd()->FileName, Extd()->FileNameLength / sizeof(wchar_t));
        case ListingKind::IdBoth:
            return std::wstring_view(Both()->FileName, Both()->FileNameLength / sizeof(wchar_t));
        case ListingKind::Find:
            break;
        }
        return std::wstring_view(found_.cFileName);
    }
    bool IsFolder() const override { return (Attributes() & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    std::uint64_t Size() override {
        if (kind_ == ListingKind::Find)
            return (static_cast<std::uint64_t>(found_.nFileSizeHigh) << 32) | found_.nFileSizeLow;
        return Quad(&IdExtdRecord::EndOfFile, &FILE_ID_BOTH_DIR_INFO::EndOfFile);
    }
    std::optional<std::uint64_t> LastWrite() const override {
        if (kind_ == ListingKind::Find)
            return (static_cast<std::uint64_t>(found_.ftLastWriteTime.dwHighDateTime) << 32) |
                   found_.ftLastWriteTime.dwLowDateTime;
        return Quad(&IdExtdRecord::LastWriteTime, &FILE_ID_BOTH_DIR_INFO::LastWriteTime);
    }
    std::optional<FolderPlace> Place() const override { return PlaceOf(folder_.Get(), identities_); }
    std::optional<FileSystemFacts> FileSystem() const override {
        wchar_t name[MAX_PATH + 1] = {};
        DWORD flags = 0;
        if (!GetVolumeInformationByHandleW(folder_.Get(), nullptr, 0, nullptr, nullptr, &flags, name, MAX_PATH + 1))
            return std::nullopt;
        return FileSystemFacts{name, flags};
    }
    // A reparse point (a junction, a symbolic link, a mount point) names another folder, perhaps
    // on another volume.
    bool EntryIsLink() const override { return (Attributes() & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
    std::optional<std::uint64_t> EntryFileId() const override {
        if (!identities_ || EntryIsLink()) return std::nullopt;
        std::uint64_t id = 0;
        switch (kind_) {
        case ListingKind::IdExtd:
            // Past 64 bits (ReFS) the 64-bit form would not be unique: asked of the handle instead.
            for (int i = 15; i >= 8; --i)
                if (Extd()->FileId[i] != 0) return std::nullopt;
            for (int i = 7; i >= 0; --i) id = (id << 8) | Extd()->FileId[i];
            break;
        case ListingKind::IdBoth:
            id = static_cast<std::uint64_t>(Both()->FileId.QuadPart);
            break;
        case ListingKind::Find:
            return std::nullopt;  // its records carry no IDs
        }
        return id != 0 ? std::optional<std::uint64_t>(id) : std::nullopt;
    }
    void StartWith(ListingKind kind) override {
        start_ = kind == ListingKind::IdExtd && !extended_ ? ListingKind::IdBoth : kind;
    }
    std::optional<ListingKind> Answered() const override { return answered_; }

private:
    static constexpr DWORD kBufferBytes = ListingBuffers::kBytes;
    static FILE_INFO_BY_HANDLE_CLASS RecordClass(ListingKind kind) {
        return kind == ListingKind::IdExtd ? kFileIdExtdDirectoryInfoClass : FileIdBothDirectoryInfo;
    }
    const IdExtdRecord* Extd() const { return reinterpret_cast<const IdExtdRecord*>(entry_); }
    const FILE_ID_BOTH_DIR_INFO* Both() const { return reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(entry_); }
    template <typename A, typename B>
    DWORD Field(A IdExtdRecord::*extd, B FILE_ID_BOTH_DIR_INFO::*both) const {
        return kind_ == ListingKind::IdExtd ? Extd()->*extd : Both()->*both;
    }
    std::uint64_t Quad(LARGE_INTEGER IdExtdRecord::*extd, LARGE_INTEGER FILE_ID_BOTH_DIR_INFO::*both) const {
        return static_cast<std::uint64_t>((kind_ == ListingKind::IdExtd ? Extd()->*extd : Both()->*both).QuadPart);
    }
    DWORD Attributes() const {
        if (kind_ == ListingKind::Find) return found_.dwFileAttributes;
        return Field(&IdExtdRecord::FileAttributes, &FILE_ID_BOTH_DIR_INFO::FileAttributes);
    }
    // The first records of kind: 0, or the system's error code.
    std::uint32_t FirstCall(ListingKind kind) {
        if (kind == ListingKind::Find) {
            find_ = FindHandle(FindFirstFileExW(pattern_.c_str(), FindExInfoBasic, &found_, FindExSearchNameMatch,
                                                nullptr, FIND_FIRST_EX_LARGE_FETCH));
            return find_.Valid() ? 0 : GetLastError();
        }
        return GetFileInformationByHandleEx(folder_.Get(), RecordClass(kind), buffer_.Get(), kBufferBytes) ? 0
                                                                                                         : GetLastError();
    }
    bool End() {
        ended_ = true;
        entry_ = nullptr;
        return false;
    }

    KernelHandle folder_;
    const std::wstring pattern_;                // the folder's path and "*", for FindFirstFileExW
    const std::shared_ptr<ListingBuffers> buffers_;
    ListingBuffers::Buffer buffer_;            // page-aligned: 8-byte aligned, as the records need
    const BYTE* entry_ = nullptr;
    FindHandle find_;
    WIN32_FIND_DATAW found_{};
    const bool extended_;                       // the system has the records with 128-bit IDs
    const bool identities_;
    bool started_ = false;
    bool ended_ = false;
    ListingKind start_ = ListingKind::IdExtd;
    ListingKind kind_ = ListingKind::IdExtd;  // the records read
    std::optional<ListingKind> answered_;
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

Win32Lister::Win32Lister() : buffers_(std::make_shared<ListingBuffers>()) {
    if (!RunsUnderWow64()) return;
    const std::wstring windows = SystemFolder(GetSystemWindowsDirectoryW);
    const std::wstring system = SystemFolder(GetSystemDirectoryW);
    if (!windows.empty() && !system.empty()) redirected_ = Wow64RedirectedFolders(windows, system);
}

bool Win32Lister::CanNameFolder(std::wstring_view name) const { return FolderNameListable(name); }

std::wstring Win32Lister::FullPath(const std::wstring& path) {
    return GrownText([&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(path.c_str(), size, buffer, nullptr); });
}

std::unique_ptr<DirectoryListing> Win32Lister::Open(const std::wstring& folderPath) {
    // A folder path of MAX_PATH - 3 characters or more is not listed (it bounds the walk's depth).
    if (folderPath.size() + 3 >= MAX_PATH) return nullptr;
    if (redirected_.Covers(folderPath)) return nullptr;
    // Reading the attributes is what the identity needs (it is granted with the right to list).
    KernelHandle folder = OpenFolder(folderPath, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES);
    if (!folder.Valid()) return nullptr;
    return std::make_unique<Win32Listing>(std::move(folder), folderPath + L"*", identities_, extendedRecords_, buffers_);
}

bool Win32Lister::SystemHasExtendedRecords() { return IsWindows8OrGreater(); }

std::optional<FolderPlace> Win32Lister::Identify(const std::wstring& folderPath) {
    KernelHandle folder = OpenFolder(folderPath, FILE_READ_ATTRIBUTES);
    if (!folder.Valid()) return std::nullopt;
    return PlaceOf(folder.Get(), identities_);
}

std::wstring Win32Lister::VolumeRoot(const std::wstring& folderPath) {
    wchar_t root[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(folderPath.c_str(), root, MAX_PATH + 1)) return {};
    std::wstring text(root);
    if (!text.empty() && text.back() != L'\\') text.push_back(L'\\');
    return text;
}

}  // namespace qorvani
