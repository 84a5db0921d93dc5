// Qorvani: finds junk files by a fixed catalogue of masks and deletes the ones the user checks.
#include <windows.h>

#include "app/win32/MainWindow.h"
#include "common/win32/Handles.h"
#include "common/win32/MessagePump.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // A drive without media (a card reader, an empty DVD drive) is a folder that cannot be
    // listed, never the system's "no disk in the drive" box in the middle of a scan.
    SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS);
    // COM on the window's thread before its first window, until after the last one is gone: the
    // flat buttons' accessible objects reach screen readers through it (LresultFromObject
    // marshals them), and COM's own calls arrive as posted messages, which long commands run.
    const qorvani::ComApartment com = qorvani::InitializeCom();
    HWND window = qorvani::MainWindow::Create(instance, showCommand);
    if (window == nullptr) return 1;
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) return 1;
        if (qorvani::HandleNavigationKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
