#pragma once
// Owners (Unique) of device contexts: a memory DC (CreateCompatibleDC / DeleteDC), a window's DC
// (GetDC / ReleaseDC) and a paint DC (BeginPaint / EndPaint). Each converts to its HDC.
#include <windows.h>

#include "common/win32/Unique.h"

namespace qorvani {

namespace owners {
inline void DeleteDcOf(HDC dc) { DeleteDC(dc); }

struct WindowDcHandle {
    HWND window = nullptr;
    HDC dc = nullptr;
    operator HDC() const { return dc; }
};
struct WindowDcTraits {
    using Handle = WindowDcHandle;
    static Handle Invalid() { return {}; }
    static bool IsValid(const Handle& h) { return h.dc != nullptr; }
    static void Close(const Handle& h) { ReleaseDC(h.window, h.dc); }
};
struct PaintDcHandle {
    HWND window = nullptr;
    PAINTSTRUCT paint{};
    operator HDC() const { return paint.hdc; }
};
struct PaintDcTraits {
    using Handle = PaintDcHandle;
    static Handle Invalid() { return {}; }
    static bool IsValid(const Handle& h) { return h.window != nullptr; }
    static void Close(const Handle& h) { EndPaint(h.window, &h.paint); }
};
}  // namespace owners

using MemoryDc = Unique<NullableTraits<HDC, owners::DeleteDcOf>>;
using WindowDc = Unique<owners::WindowDcTraits>;
using PaintDc = Unique<owners::PaintDcTraits>;

inline MemoryDc CreateMemoryDc(HDC compatibleWith) { return MemoryDc(CreateCompatibleDC(compatibleWith)); }
// The DC of a window's client area, or of the screen for nullptr.
inline WindowDc GetWindowDc(HWND window) { return WindowDc({window, GetDC(window)}); }
inline PaintDc BeginPaintDc(HWND window) {
    owners::PaintDcHandle handle{window, {}};
    BeginPaint(window, &handle.paint);
    return PaintDc(handle);
}

}  // namespace qorvani
