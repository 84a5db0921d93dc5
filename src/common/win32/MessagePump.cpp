#include "common/win32/MessagePump.h"

namespace qorvani {

bool HandleNavigationKey(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || msg.hwnd == nullptr) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    return root != nullptr && IsDialogMessageW(root, &msg);
}

bool ReachesDisabledWindow(const MSG& msg) {
    const bool input = (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                       (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST);
    if (!input) return false;
    for (HWND window = msg.hwnd; window != nullptr; window = GetAncestor(window, GA_PARENT)) {
        if (!IsWindowEnabled(window)) return true;
        if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0) break;  // the top-level window
    }
    return false;
}

bool PumpPendingMessages(KeyNavigation keys) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (ReachesDisabledWindow(msg)) continue;
        // Tab, Shift+Tab, Enter and Esc move and act as in the outer loop.
        if (keys == KeyNavigation::Dialog && HandleNavigationKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace qorvani
