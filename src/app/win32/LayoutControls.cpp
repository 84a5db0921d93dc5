#include "app/win32/LayoutControls.h"

#include <commctrl.h>

#include <iterator>
#include <string>

#include "app/win32/ListViews.h"
#include "common/win32/WindowClass.h"
#include "controls/core/PropertyBag.h"
#include "controls/win32/FlatButton.h"

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

int ScanControlId(ScanControl control) {
    switch (control) {
        case ScanControl::List1: return kIdList1;
        case ScanControl::List2: return kIdList2;
        case ScanControl::FlatCommand4_0: return kIdFlatCommand4_0;
        case ScanControl::FlatCommand4_1: return kIdFlatCommand4_1;
        case ScanControl::FlatCommand4_2: return kIdFlatCommand4_2;
        case ScanControl::FlatCommand4_3: return kIdFlatCommand4_3;
        case ScanControl::FlatCommand1: return kIdFlatCommand1;
        case ScanControl::FlatCommand2: return kIdFlatCommand2;
        case ScanControl::FlatCommand3: return kIdFlatCommand3;
        case ScanControl::FlatCommand7: return kIdFlatCommand7;
        case ScanControl::Check1: return kIdCheck1;
        case ScanControl::Text1: return kIdText1;
    }
    return 0;
}

RECT LayoutPixelRect(const ControlLayout& row, int dpi) {
    const int left = TwipsToPixels(row.left, dpi);
    const int top = TwipsToPixels(row.top, dpi);
    return RECT{left, top, left + TwipsToPixels(row.width, dpi), top + TwipsToPixels(row.height, dpi)};
}

HWND CreateLayoutControl(HWND parent, const ControlLayout& row, int dpi, HFONT font, HINSTANCE instance) {
    const RECT r = LayoutPixelRect(row, dpi);
    const std::wstring text(row.text);
    HWND control = nullptr;
    switch (row.kind) {
        case ControlKind::FlatButton: {
            PropertyBag stored;
            stored.Write(L"captain", text);
            control = CreateFlatButton(parent, row.id, std::wstring(row.name).c_str(), &stored, r.left, r.top,
                                       r.right - r.left, r.bottom - r.top, instance);
            break;
        }
        case ControlKind::Label:
            control = Child(L"STATIC", 0, SS_LEFT | SS_NOPREFIX, text, parent, row, r, instance);
            break;
        case ControlKind::TextBox:
            control = Child(L"EDIT", WS_EX_CLIENTEDGE, WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, text, parent, row, r,
                            instance);
            break;
        case ControlKind::CheckBox:
            control = Child(L"BUTTON", 0, WS_TABSTOP | BS_AUTOCHECKBOX, text, parent, row, r, instance);
            break;
        case ControlKind::ListView:
            if (row.id == kIdList1)
                control = CreateCheckList(parent, row.id, r, kList1Columns, std::size(kList1Columns), dpi, true,
                                          instance);
            else
                control = CreateCheckList(parent, row.id, r, kList2Columns, std::size(kList2Columns), dpi, false,
                                          instance);
            break;
        case ControlKind::StatusBar:
            control = Child(STATUSCLASSNAMEW, 0, CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, L"", parent, row, r,
                            instance);
            SendMessageW(control, SB_SIMPLE, TRUE, 0);
            break;
    }
    if (control != nullptr && font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

}  // namespace qorvani
