#pragma once
// Owners (Unique) of kernel objects, listings, shell and global memory, menus, and COM.
#include <windows.h>
#include <objbase.h>

#include "common/win32/Unique.h"

namespace qorvani {

namespace owners {
inline void CloseKernel(HANDLE handle) { CloseHandle(handle); }
inline void CloseFind(HANDLE handle) { FindClose(handle); }
inline void FreeCoTaskMem(void* memory) { CoTaskMemFree(memory); }

// A kernel handle: null and INVALID_HANDLE_VALUE both mean none, as the functions that give one
// differ in which they return on failure.
struct KernelTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(const Handle& handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(const Handle& handle) { CloseKernel(handle); }
};
struct FindTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(const Handle& handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
    static void Close(const Handle& handle) { CloseFind(handle); }
};
template <typename T>
struct CoTaskMemTraits {
    using Handle = T*;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(const Handle& memory) { return memory != nullptr; }
    static void Close(const Handle& memory) { FreeCoTaskMem(memory); }
};
// Movable global memory (clipboard data, until the clipboard takes it).
struct GlobalTraits {
    using Handle = HGLOBAL;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(const Handle& memory) { return memory != nullptr; }
    static void Close(const Handle& memory) { GlobalFree(memory); }
};
// A menu made by CreatePopupMenu (or CreateMenu) and not handed to a window.
struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(const Handle& menu) { return menu != nullptr; }
    static void Close(const Handle& menu) { DestroyMenu(menu); }
};
// COM initialised on this thread: the value is whether CoInitializeEx succeeded.
struct ComTraits {
    using Handle = bool;
    static Handle Invalid() { return false; }
    static bool IsValid(const Handle& initialised) { return initialised; }
    static void Close(const Handle&) { CoUninitialize(); }
};
}  // namespace owners

using KernelHandle = Unique<owners::KernelTraits>;                  // CloseHandle
using FindHandle = Unique<owners::FindTraits>;                      // FindClose
template <typename T>
using CoTaskMemPtr = Unique<owners::CoTaskMemTraits<T>>;            // CoTaskMemFree
using ComApartment = Unique<owners::ComTraits>;                     // CoUninitialize
using GlobalMemory = Unique<owners::GlobalTraits>;                  // GlobalFree
using MenuHandle = Unique<owners::MenuTraits>;                      // DestroyMenu

// COM for this thread (a single-threaded apartment), for as long as the owner lives.
inline ComApartment InitializeCom() {
    return ComApartment(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)));
}

}  // namespace qorvani
