#pragma once
#include <dirent.h>

namespace qorvani {

// Owns an open directory stream and closes it.
class DirHandle {
public:
    DirHandle() = default;
    explicit DirHandle(DIR* dir) : dir_(dir) {}
    ~DirHandle() {
        if (dir_ != nullptr) closedir(dir_);
    }
    DirHandle(DirHandle&& other) noexcept : dir_(other.dir_) { other.dir_ = nullptr; }
    DirHandle& operator=(DirHandle&& other) noexcept {
        if (this != &other) {
            if (dir_ != nullptr) closedir(dir_);
            dir_ = other.dir_;
            other.dir_ = nullptr;
        }
        return *this;
    }
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;

    DIR* Get() const { return dir_; }
    bool Valid() const { return dir_ != nullptr; }

private:
    DIR* dir_ = nullptr;
};

}  // namespace qorvani
