#pragma once
// RAII owners for the handles the program opens.
#include <windows.h>
#include <objbase.h>

namespace qorvani {

// A FindFirstFileExW listing, closed with FindClose.
class FindHandle {
public:
    FindHandle() = default;
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() { Close(); }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    FindHandle(FindHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
    FindHandle& operator=(FindHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = other.handle_;
            other.handle_ = INVALID_HANDLE_VALUE;
        }
        return *this;
    }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    void Close() {
        if (Valid()) FindClose(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Memory the shell hands out (item-ID lists), freed with CoTaskMemFree.
template <typename T>
class CoTaskMemPtr {
public:
    explicit CoTaskMemPtr(T* p = nullptr) : p_(p) {}
    ~CoTaskMemPtr() { CoTaskMemFree(p_); }
    CoTaskMemPtr(const CoTaskMemPtr&) = delete;
    CoTaskMemPtr& operator=(const CoTaskMemPtr&) = delete;
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_;
};

// COM for this thread, for as long as the object lives.
class ComApartment {
public:
    ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool ok_;
};

// A kernel handle closed with CloseHandle.
class KernelHandle {
public:
    explicit KernelHandle(HANDLE h = nullptr) : h_(h) {}
    ~KernelHandle() {
        if (h_ && h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

}  // namespace qorvani
