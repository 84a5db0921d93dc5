#include "common/win32/ControlFactory.h"

#include <commctrl.h>

#include "common/win32/ListViews.h"

namespace qorvani {
namespace {

HWND Child(const wchar_t* className, DWORD exStyle, DWORD style, const std::wstring& text, HWND parent,
           const ControlLayout& row, RECT r, HINSTANCE instance) {
    return CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
}

}  // namespace

std::wstring ControlText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

RECT LayoutPixelRect(const ControlLayout& row, int dpi) {
    const int left = TwipsToPixels(row.left, dpi);
    const int top = TwipsToPixels(row.top, dpi);
    return RECT{left, top, left + TwipsToPixels(row.width, dpi), top + TwipsToPixels(row.height, dpi)};
}

void PlaceLayoutControls(HWND parent, std::span<const ControlLayout> table, int dpi, HFONT font) {
    for (const ControlLayout& row : table) {
        const HWND control = GetDlgItem(parent, row.id);
        if (control == nullptr) continue;
        const RECT r = LayoutPixelRect(row, dpi);
        SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (row.kind == ControlKind::ListView) {
            ApplyColumnWidths(control, row.columns.data(), row.columns.size(), dpi);
            RefreshCheckBoxImages(control);
        }
    }
    InvalidateRect(parent, nullptr, TRUE);
}

HWND CreateLayoutControl(HWND parent, const ControlLayout& row, const ControlSettings& settings) {
    const RECT r = LayoutPixelRect(row, settings.dpi);
    const std::wstring text(row.text);
    const HINSTANCE instance = settings.instance;
    HWND control = nullptr;
    switch (row.kind) {
        case ControlKind::FlatButton:
            // A tab stop: it takes the focus from the keyboard (never from the mouse).
            if (settings.flatButtonClass != nullptr)
                control = Child(settings.flatButtonClass, 0, WS_TABSTOP, text, parent, row, r, instance);
            break;
        case ControlKind::Label:
            control = Child(L"STATIC", 0, SS_LEFT | SS_NOPREFIX, text, parent, row, r, instance);
            break;
        case ControlKind::TextBox:
            control = Child(L"EDIT", WS_EX_CLIENTEDGE, WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, text, parent, row, r,
                            instance);
            break;
        case ControlKind::ReadOnlyTextBox:
            control = Child(L"EDIT", WS_EX_CLIENTEDGE, WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY, text,
                            parent, row, r, instance);
            break;
        case ControlKind::CheckBox:
            control = Child(L"BUTTON", 0, WS_TABSTOP | BS_AUTOCHECKBOX, text, parent, row, r, instance);
            break;
        case ControlKind::ListView:
            control = CreateCheckList(parent, row.id, r, row.columns.data(), row.columns.size(), settings.dpi,
                                      row.ownerData, instance);
            break;
        case ControlKind::StatusBar:
            control = Child(STATUSCLASSNAMEW, 0, CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | SBARS_TOOLTIPS, L"", parent, row, r,
                            instance);
            SendMessageW(control, SB_SIMPLE, TRUE, 0);
            break;
    }
    if (control != nullptr && settings.font != nullptr)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(settings.font), FALSE);
    return control;
}

}  // namespace qorvani
