#pragma once
// Owners (Unique) of kernel objects, listings, shell and global memory, menus, registry keys,
// COM objects and COM for a thread.
#include <windows.h>
#include <objbase.h>

#include "common/win32/Unique.h"

namespace qorvani {

namespace owners {
inline void CloseKernel(HANDLE handle) { CloseHandle(handle); }
inline void CloseFind(HANDLE handle) { FindClose(handle); }
template <typename T>
inline void FreeCoTaskMem(T* memory) { CoTaskMemFree(memory); }
inline void FreeGlobal(HGLOBAL memory) { GlobalFree(memory); }
inline void DestroyMenuOf(HMENU menu) { DestroyMenu(menu); }
template <typename T>
inline void ReleaseCom(T* object) { object->Release(); }
inline void CloseRegistryKey(HKEY key) { RegCloseKey(key); }
inline void ReleaseVirtual(void* memory) { VirtualFree(memory, 0, MEM_RELEASE); }

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
using CoTaskMemPtr = Unique<NullableTraits<T*, owners::FreeCoTaskMem<T>>>;  // CoTaskMemFree
using ComApartment = Unique<owners::ComTraits>;                     // CoUninitialize
// One reference to a COM object.
template <typename T>
using ComPtr = Unique<NullableTraits<T*, owners::ReleaseCom<T>>>;  // Release
using RegistryKey = Unique<NullableTraits<HKEY, owners::CloseRegistryKey>>;  // RegCloseKey
// Movable global memory (clipboard data, until the clipboard takes it).
using GlobalMemory = Unique<NullableTraits<HGLOBAL, owners::FreeGlobal>>;  // GlobalFree
using VirtualMemory = Unique<NullableTraits<void*, owners::ReleaseVirtual>>;  // VirtualFree(MEM_RELEASE)
// A menu made by CreatePopupMenu (or CreateMenu) and not handed to a window.
using MenuHandle = Unique<NullableTraits<HMENU, owners::DestroyMenuOf>>;  // DestroyMenu

// COM for this thread (a single-threaded apartment), for as long as the owner lives.
inline ComApartment InitializeCom() {
    return ComApartment(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)));
}

}  // namespace qorvani
