#pragma once
// What the program's windows share: class registration (the window procedure is BaseWindow's),
// the system DPI, the message font, a frame's margins at a DPI and a centred frame.
#include <windows.h>

#include "common/core/DpiFrame.h"

namespace qorvani {

// What a window class looks like apart from its name and procedure. Every class has the arrow
// cursor.
struct WindowClassOptions {
    UINT style = 0;                     // CS_* flags
    int iconId = 0;                     // the program's icon resource, 0 for none
    bool buttonFaceBackground = false;  // the background erased with the button face
};

// Registers a window class; true also when it is registered already (nothing is loaded then).
bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure,
                         const WindowClassOptions& options);

// The system DPI: the DPI the system's stock objects and metrics are made for (GetDpiForSystem
// where Windows has it, the screen's LOGPIXELSX before).
int SystemDpi();
// The DPI of a window: of the monitor it stands on for a per-monitor aware program (GetDpiForWindow
// where Windows has it), the system DPI before Windows 10.
int WindowDpi(HWND window);

// The system's message font at dpi (scaled once from the system DPI it is given at), owned by
// the caller (nullptr if it cannot be had).
HFONT CreateMessageFont(int dpi);

// Sends a message that only top-level windows receive from the system (WM_SYSCOLORCHANGE,
// WM_SETTINGCHANGE) on to every child of window.
void ForwardToChildren(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What a frame of that style adds round its client area at dpi (AdjustWindowRectExForDpi where
// Windows has it, the system's metrics before).
FrameMargins FrameMarginsAt(DWORD style, DWORD exStyle, int dpi);

// Centres a window of the given client size and style on the screen: the frame rectangle.
RECT CentredFrame(int clientWidth, int clientHeight, DWORD style, DWORD exStyle);

}  // namespace qorvani
