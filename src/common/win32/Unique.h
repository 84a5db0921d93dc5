#pragma once
// The one owner of whatever the program acquires from the system: a handle, a device context, an
// object selected into one, memory the shell hands out, COM for a thread. Unique<Traits> holds one
// value and gives it back (Close) when it is reset or destroyed; it can be moved, never copied.
// Each kind is a one-line alias over a small traits type that says what an empty value is and how
// to give one back, so every owner has the same Get / Valid / Reset / Release. Giving a value
// back keeps the thread's last error as it was: an owner that goes out of scope between a failed
// call and the caller's GetLastError does not change what the caller reads.
#include <windows.h>

#include <utility>

namespace qorvani {

// Traits: using Handle = ...; static Handle Invalid(); static bool IsValid(const Handle&);
// static void Close(const Handle&).
template <typename Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;

    Unique() noexcept = default;
    explicit Unique(Handle handle) noexcept : handle_(std::move(handle)) {}
    ~Unique() { Reset(); }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : handle_(other.Release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    const Handle& Get() const noexcept { return handle_; }
    bool Valid() const noexcept { return Traits::IsValid(handle_); }
    explicit operator bool() const noexcept { return Valid(); }
    // Gives the held value back (the last error kept), then holds the new one.
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        if (Valid()) {
            const DWORD lastError = GetLastError();
            Traits::Close(handle_);
            SetLastError(lastError);
        }
        handle_ = std::move(handle);
    }
    // Hands the held value over to the caller, who gives it back.
    Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

private:
    Handle handle_ = Traits::Invalid();
};

// Traits of a plain pointer-like handle whose empty value is nullptr.
template <typename H, void (*CloseFunction)(H)>
struct NullableTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(const Handle& handle) { return handle != nullptr; }
    static void Close(const Handle& handle) { CloseFunction(handle); }
};

}  // namespace qorvani
