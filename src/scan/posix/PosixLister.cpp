#include "scan/posix/PosixLister.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <string_view>

#include "scan/core/FileTimes.h"
#include "scan/core/ScanVolumes.h"
#include "scan/posix/DirHandle.h"
#include "scan/posix/Utf8Names.h"

namespace qorvani {

namespace {

// A folder's device is its volume, and its inode number its ID.
FolderPlace PlaceOf(const struct stat& st) {
    FolderPlace place;
    place.volumeName = L"device " + std::to_wstring(static_cast<std::uint64_t>(st.st_dev));
    place.idLow = static_cast<std::uint64_t>(st.st_ino);
    return place;
}

class PosixListing final : public DirectoryListing {
public:
    explicit PosixListing(DirHandle dir) : dir_(std::move(dir)), fd_(dirfd(dir_.Get())) {}

    bool Next() override {
        entry_ = readdir(dir_.Get());
        if (entry_ == nullptr) return false;
        statDone_ = false;
        DecodeFileName(std::string_view(entry_->d_name), name_);
        return true;
    }

    std::wstring_view Name() const override { return name_; }

    bool IsFolder() const override {
        switch (entry_->d_type) {
        case DT_DIR:
            return true;
        case DT_UNKNOWN:  // the file system does not tell the type
        case DT_LNK:      // a link counts as what it points to
            return StatEntry() && S_ISDIR(stat_.st_mode);
        default:
            return false;
        }
    }

    std::uint64_t Size() override {
        if (!StatEntry()) return 0;
        return static_cast<std::uint64_t>(stat_.st_size);
    }

    std::optional<std::uint64_t> LastWrite() const override {
        if (!StatEntry()) return std::nullopt;
        return TicksFromUnixTime(static_cast<std::int64_t>(stat_.st_mtim.tv_sec), static_cast<std::uint32_t>(stat_.st_mtim.tv_nsec));
    }

    std::optional<FolderPlace> Place() const override {
        struct stat own {};
        if (fstat(fd_, &own) != 0) return std::nullopt;
        return PlaceOf(own);
    }
    // Every inode number names one file on its device for as long as the file lives.
    std::optional<FileSystemFacts> FileSystem() const override { return FileSystemFacts{L"", kSupportsOpenByFileId}; }
    // A link, or an entry whose type the file system does not tell.
    bool EntryIsLink() const override { return entry_->d_type == DT_LNK || entry_->d_type == DT_UNKNOWN; }

private:
    // Stats the current entry once, relative to the open folder, following links.
    bool StatEntry() const {
        if (!statDone_) {
            statDone_ = true;
            statOk_ = fstatat(fd_, entry_->d_name, &stat_, 0) == 0;
        }
        return statOk_;
    }

    DirHandle dir_;
    int fd_;
    struct dirent* entry_ = nullptr;
    std::wstring name_;
    mutable struct stat stat_ {};
    mutable bool statDone_ = false;
    mutable bool statOk_ = false;
};

}  // namespace

std::unique_ptr<DirectoryListing> PosixLister::Open(const std::wstring& folderPath) {
    EncodeFileName(folderPath, pathBytes_);
    DirHandle dir(opendir(pathBytes_.c_str()));
    if (!dir.Valid()) return nullptr;
    return std::make_unique<PosixListing>(std::move(dir));
}

std::optional<FolderPlace> PosixLister::Identify(const std::wstring& folderPath) {
    EncodeFileName(folderPath, pathBytes_);
    struct stat st {};
    if (stat(pathBytes_.c_str(), &st) != 0) return std::nullopt;
    return PlaceOf(st);
}

}  // namespace qorvani
