#pragma once
// The flat button: a self-drawn child window with a centred caption, four one-pixel edge lines
// (flat grey while idle, raised under the pointer, sunken while a button is down) and a Click
// that reaches the parent as WM_COMMAND / BN_CLICKED.
//
// Its caption is the window text (WM_SETTEXT / WM_GETTEXT), always centred; its enabled flag is
// the window's (EnableWindow). It uses the font its parent sets with WM_SETFONT, the default GUI
// font until then.
//
// Only a left press made on it and released on it clicks; so do Space (on its release) and Enter
// while it has the focus, which it takes from the keyboard (a tab stop) and never from the mouse.
// With the focus it draws a focus rectangle inside its edges, unless the window's UI state hides
// focus rectangles. Accessibility tools see a push button (FlatButtonAccessible) and BM_CLICK
// clicks it. In High Contrast it draws in the system colours; WM_SYSCOLORCHANGE and
// WM_SETTINGCHANGE, which its parent passes on, make it read them again.
#include <windows.h>

#include "controls/core/FlatButtonModel.h"

namespace qorvani {

inline constexpr wchar_t kFlatButtonClassName[] = L"QorvaniFlatButton";

// Introspection messages, answered with the state the button draws.
// FBM_GETLOOK: returns the look of the edge lines as int, a qorvani::Look (0 flat, 1 raised,
// 2 sunken).
inline constexpr UINT FBM_GETLOOK = WM_USER + 0x100;
// FBM_GETSTATE: returns FBS_* bit flags.
inline constexpr UINT FBM_GETSTATE = WM_USER + 0x101;
// FBM_GETLABELRECT: lParam is a RECT* that receives the caption label's drawn rectangle in client
// pixels (not clipped to the button). Returns TRUE.
inline constexpr UINT FBM_GETLABELRECT = WM_USER + 0x102;
// FBM_GETLINE: wParam the line number (1 left, 2 bottom, 3 right, 4 top), lParam a POINT[2]* that
// receives its start and end point (both ends drawn). Returns TRUE, FALSE for a bad line number.
inline constexpr UINT FBM_GETLINE = WM_USER + 0x103;
// FBM_GETLINECOLOR: wParam the line number; returns its colour as 0xRRGGBB, -1 for a bad number.
inline constexpr UINT FBM_GETLINECOLOR = WM_USER + 0x104;
// FBM_GETCAPTIONCOLOR: returns the caption's text colour as 0xRRGGBB.
inline constexpr UINT FBM_GETCAPTIONCOLOR = WM_USER + 0x105;

// FBM_SETHIGHCONTRAST: wParam 1 draws as in High Contrast, 0 as outside it, -1 follows the
// system's setting again (the default). Returns 0.
inline constexpr UINT FBM_SETHIGHCONTRAST = WM_USER + 0x106;

inline constexpr LRESULT FBS_POLLRUNNING = 0x1;  // the hover poll timer runs
inline constexpr LRESULT FBS_CAPTUREHELD = 0x2;  // the button holds the mouse capture

// Registers the window class kFlatButtonClassName once per process; later calls return true.
bool RegisterFlatButtonClass(HINSTANCE instance);

// Creates a visible flat button child of parent with the given control id and caption, as a
// layout table does (by class name). Returns nullptr on failure.
HWND CreateFlatButton(HWND parent, int controlId, const wchar_t* caption, int x, int y, int width, int height,
                      HINSTANCE instance);

}  // namespace qorvani
