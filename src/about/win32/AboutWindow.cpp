#include "about/win32/AboutWindow.h"

#include <memory>

#include "QorvaniVersion.h"

#include "about/core/AboutLayout.h"
#include "common/core/Texts.h"
#include "common/win32/ControlFactory.h"
#include "common/win32/WindowClass.h"
#include "controls/win32/FlatButton.h"

namespace qorvani {

std::wstring AboutWindow::AboutText() {
    return std::wstring(text::kAboutBeforeVersion) + QORVANI_VERSION_WTEXT + text::kAboutAfterVersion;
}

std::wstring AboutWindow::ContactText() { return text::kContact; }

AboutWindow::AboutWindow(HINSTANCE instance, HWND owner)
    : instance_(instance), owner_(owner), dpi_(WindowDpi(owner)) {
    MakeFonts();
}

void AboutWindow::MakeFonts() {
    font_.Reset(CreateMessageFont(dpi_));
    // 宋体 10.5 points, normal weight, GB2312.
    contactFont_.Reset(CreateFontW(-MulDiv(105, dpi_, 720), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, L"宋体"));
}

// Moved to a monitor of another DPI: the layout table at the new DPI, fonts made for it, then the
// frame the system suggests.
void AboutWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0) return;
    dpi_ = dpi;
    // The old fonts go only once no control uses them any more.
    GdiObject<HFONT> oldFont(font_.Release());
    GdiObject<HFONT> oldContactFont(contactFont_.Release());
    MakeFonts();
    PlaceLayoutControls(hwnd_, kAboutLayout, dpi_, font_.Get());
    SendMessageW(GetDlgItem(hwnd_, kIdAboutContactBox), WM_SETFONT, reinterpret_cast<WPARAM>(contactFont_.Get()), FALSE);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutWindow::ShowModal(HINSTANCE instance, HWND owner, int iconId) {
    if (!RegisterClassOnce(instance, {.iconId = iconId, .buttonFaceBackground = true}) ||
        !RegisterFlatButtonClass(instance))
        return;

    auto self = std::unique_ptr<AboutWindow>(new AboutWindow(instance, owner));
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const RECT frame = CentredFrame(TwipsToPixels(kAboutClientWidthTwips, self->dpi_),
                                    TwipsToPixels(kAboutClientHeightTwips, self->dpi_), style, WS_EX_DLGMODALFRAME);
    HWND window = MakeWindow(std::move(self), WS_EX_DLGMODALFRAME, text::kAboutCaption, style, frame, owner, nullptr,
                             instance);
    if (window == nullptr) return;
    EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    // The focus on the first tab stop, the OK button, as in a dialog.
    SetFocus(GetDlgItem(window, kIdAboutOkButton));
    UpdateWindow(window);

    // The modal loop: runs until the window is gone; a quit request is passed on outward.
    MSG msg;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            if (IsWindow(window)) DestroyWindow(window);
            break;
        }
        if (got == -1) break;
        if (!IsDialogMessageW(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            return 0;
        case WM_COMMAND: {
            // The OK button's click (also Enter: it is the default button) goes to its handler;
            // the dialog keys' IDOK and IDCANCEL (Esc), which come from no control, close it too.
            LRESULT result = 0;
            if (!reflector_.Reflect(message, wParam, lParam, result) && HIWORD(wParam) == BN_CLICKED &&
                (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
                Close();
            return result;
        }
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            ForwardToChildren(hwnd_, message, wParam, lParam);
            InvalidateRect(hwnd_, nullptr, TRUE);
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(kIdAboutOkButton, DC_HASDEFID);
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY:
            // The modal loop looks at the window only when GetMessageW returns, which a message
            // sent to the window (a click from another thread, an accessibility tool) does not
            // make it do: a message posted to the thread wakes it to see the window gone.
            PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
            return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void AboutWindow::CreateControls() {
    const ControlSettings settings{instance_, dpi_, font_.Get(), kFlatButtonClassName};
    for (const ControlLayout& row : kAboutLayout) {
        HWND control = CreateLayoutControl(hwnd_, row, settings);
        if (row.id == kIdAboutText) SetWindowTextW(control, AboutText().c_str());
        if (row.id == kIdAboutContactBox) {
            SetWindowTextW(control, ContactText().c_str());
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(contactFont_.Get()), FALSE);
        }
    }
    reflector_.OnClick(GetDlgItem(hwnd_, kIdAboutOkButton), [this] { Close(); });
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
}

void AboutWindow::Close() {
    // The owner is enabled before this window goes, so that it takes the activation back.
    EnableWindow(owner_, TRUE);
    DestroyWindow(hwnd_);
}

}  // namespace qorvani
