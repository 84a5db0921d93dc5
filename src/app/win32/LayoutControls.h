#pragma once
// The main window's controls, made from the layout table.
#include <windows.h>

#include <string>

#include "app/core/Layout.h"
#include "scan/core/ScanCommand.h"

namespace qorvani {

// The control's rectangle in pixels of the parent's client area.
RECT LayoutPixelRect(const ControlLayout& row, int dpi);

// Creates the control of one layout row as a child of parent, in the given font.
HWND CreateLayoutControl(HWND parent, const ControlLayout& row, int dpi, HFONT font, HINSTANCE instance);

// The layout id of an input that a scan disables and enables again.
int ScanControlId(ScanControl control);

// A control's window text.
std::wstring ControlText(HWND window);

}  // namespace qorvani
