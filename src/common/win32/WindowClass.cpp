#include "common/win32/WindowClass.h"

#include "common/win32/DeviceContext.h"

namespace qorvani {

bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure,
                         const WindowClassOptions& options) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, className, &wc)) return true;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.style = options.style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    if (options.iconId != 0) {
        const auto icon = [&](int widthMetric, int heightMetric) {
            return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(options.iconId), IMAGE_ICON,
                                                 GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0));
        };
        wc.hIcon = icon(SM_CXICON, SM_CYICON);
        wc.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
    }
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (options.buttonFaceBackground) wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

namespace {
template <typename Function>
Function User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}
}  // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int SystemDpi() {
    using GetDpiForSystemFunction = UINT(WINAPI*)();
    static const auto getDpiForSystem = User32Function<GetDpiForSystemFunction>("GetDpiForSystem");
    if (getDpiForSystem != nullptr) {
        const UINT dpi = getDpiForSystem();
        if (dpi > 0) return static_cast<int>(dpi);
    }
    const WindowDc screen = GetWindowDc(nullptr);
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    return dpi > 0 ? dpi : 96;
}

HFONT CreateMessageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return nullptr;
    const int systemDpi = SystemDpi();
    if (dpi != systemDpi) metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

void ForwardToChildren(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, message, wParam, lParam);
}

FrameMargins FrameMarginsAt(DWORD style, DWORD exStyle, int dpi) {
    // The border and caption at that DPI where Windows can say (Windows 10 1607 on); before, the
    // system's metrics, which are the only ones such a system draws with.
    using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, 0, 0};
    const bool adjusted = adjustForDpi != nullptr && dpi > 0 && adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
    if (!adjusted) {
        frame = RECT{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return FrameMargins{-frame.left, -frame.top, frame.right, frame.bottom};
}

RECT CentredFrame(int clientWidth, int clientHeight, DWORD style, DWORD exStyle) {
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return RECT{x, y, x + width, y + height};
}

}  // namespace qorvani
