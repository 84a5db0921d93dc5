#pragma once
// Shared by the Windows tests and the Windows benchmarks (the qorvani_drive library): the one way
// they make the real main window they drive, and the message pump they drive it with.
#include <windows.h>

#include "app/win32/MainWindow.h"

namespace qorvani::drive {

// Handles every waiting message for about the given time (at least one pass). A WM_QUIT met on
// the way is left in the queue and ends the call.
void Pump(DWORD milliseconds = 0);
// Handles every waiting message and drops the WM_QUIT that a destroyed main window left behind;
// true if there was one.
bool TakeQuit();

// The real main window, created as the program creates it, shown, brought to the foreground and
// given its first messages; destroyed at the end (when it is still there), with the WM_QUIT its
// destruction leaves taken from the queue.
class MainWindowHost {
public:
    MainWindowHost();
    ~MainWindowHost();
    MainWindowHost(const MainWindowHost&) = delete;
    MainWindowHost& operator=(const MainWindowHost&) = delete;

    // False when the window could not be made, or is gone.
    bool Valid() const { return window_ != nullptr && IsWindow(window_); }
    HWND Handle() const { return window_; }
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    // The window's object; null once the window is gone.
    MainWindow* Main() const { return MainWindow::FromHandle(window_); }

private:
    HWND window_ = nullptr;
};

}  // namespace qorvani::drive
