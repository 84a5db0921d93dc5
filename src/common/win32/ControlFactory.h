#pragma once
// Makes a window's controls from its layout table.
#include <windows.h>

#include <span>
#include <string>

#include "common/core/ControlLayout.h"

namespace qorvani {

// What every control of one window is made with.
struct ControlSettings {
    HINSTANCE instance = nullptr;
    int dpi = 96;
    HFONT font = nullptr;                      // nullptr: the control's own
    const wchar_t* flatButtonClass = nullptr;  // the window class of ControlKind::FlatButton
};

// The control's rectangle in pixels of the parent's client area.
RECT LayoutPixelRect(const ControlLayout& row, int dpi);

// Lays the controls of a table out again at dpi (after a DPI change): every control of the table
// at its place and size, with font (when not nullptr), and every list's columns.
void PlaceLayoutControls(HWND parent, std::span<const ControlLayout> table, int dpi, HFONT font);

// Creates the control of one layout row as a child of parent, with the row's text.
HWND CreateLayoutControl(HWND parent, const ControlLayout& row, const ControlSettings& settings);

// A control's window text.
std::wstring ControlText(HWND window);

}  // namespace qorvani
