#pragma once
// What the program's top-level windows share: the window-procedure bridge to a C++ object, class
// registration with the program icon, the system DPI and the message font.
#include <windows.h>

namespace qorvani {

// The static window procedure of a window class whose object is passed as the creation
// parameter: it stores the object at WM_NCCREATE, forwards every message to
// T::HandleMessage, and deletes the object at WM_NCDESTROY.
template <typename T>
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    T* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete self;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

// Registers a top-level window class with the program's icon (the resource iconId), the arrow
// cursor and the button face as background; true also when it is registered already.
bool RegisterProgramWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure, int iconId);

// Dots per inch of the screen (the system DPI: the program is system-DPI aware).
int SystemDpi();

// The system's message font, owned by the caller (nullptr if it cannot be had).
HFONT CreateMessageFont();

// Centres a window of the given client size and style on the screen: the frame rectangle.
RECT CentredFrame(int clientWidth, int clientHeight, DWORD style, DWORD exStyle);

}  // namespace qorvani
