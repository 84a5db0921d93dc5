#include "MainWindowHost.h"

#include "common/win32/MessagePump.h"

namespace qorvani::drive {

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            // The keyboard goes through the window's navigation, as in the program's own loop.
            if (HandleNavigationKey(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (milliseconds) Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

bool TakeQuit() {
    MSG msg;
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return quit;
}

MainWindowHost::MainWindowHost() {
    window_ = MainWindow::Create(GetModuleHandleW(nullptr), SW_SHOW);
    if (window_ == nullptr) return;
    SetForegroundWindow(window_);
    Pump(50);
}

MainWindowHost::~MainWindowHost() {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
    TakeQuit();
}

}  // namespace qorvani::drive
