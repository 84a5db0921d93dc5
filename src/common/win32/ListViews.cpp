#include "common/win32/ListViews.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace qorvani {

HWND CreateCheckList(HWND parent, int id, RECT pixels, const ColumnLayout* columns, std::size_t columnCount,
                     int dpi, bool ownerData, HINSTANCE instance) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;
    if (ownerData) style |= LVS_OWNERDATA;
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, pixels.left, pixels.top,
                                pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    ApplyListColours(list);
    if (ownerData) SendMessageW(list, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
    for (std::size_t i = 0; i < columnCount; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = TwipsToPixels(columns[i].widthTwips, dpi);  // as ApplyColumnWidths
        std::wstring header(columns[i].header);
        column.pszText = header.data();
        column.iSubItem = static_cast<int>(i);
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

void ApplyListColours(HWND list) {
    SendMessageW(list, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOWTEXT)));
    SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));
    SendMessageW(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));
    InvalidateRect(list, nullptr, TRUE);
}

void ApplyColumnWidths(HWND list, const ColumnLayout* columns, std::size_t columnCount, int dpi) {
    for (std::size_t i = 0; i < columnCount; ++i)
        SendMessageW(list, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(TwipsToPixels(columns[i].widthTwips, dpi), 0));
}

void RefreshCheckBoxImages(HWND list) {
    // Switching the check boxes off and on makes the images anew; the boxes start clear then,
    // except in an owner-data list, whose owner answers for them.
    const bool ownerData = (GetWindowLongW(list, GWL_STYLE) & LVS_OWNERDATA) != 0;
    std::vector<UINT> states;
    if (!ownerData) {
        const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row)
            states.push_back(static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK)));
    }
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, 0);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    for (std::size_t row = 0; row < states.size(); ++row) {
        LVITEMW item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = states[row] & LVIS_STATEIMAGEMASK;
        SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void AnnounceCheck(HWND list, std::size_t row) {
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, list, OBJID_CLIENT, static_cast<LONG>(row) + 1);
}

void CheckEvents::BeginPass(std::size_t rows) {
    hold_.Begin(rows, static_cast<std::size_t>(SendMessageW(list_, LVM_GETCOUNTPERPAGE, 0, 0)));
}

void CheckEvents::EndPass() {
    // EVENT_OBJECT_REORDER on the list itself says that its children are to be read again: MSAA
    // clients drop what they held of the rows, and UI Automation's bridge raises a structure
    // change (children invalidated) for it, so screen readers take the rows' new states without
    // speaking each. A state change on the list (CHILDID_SELF) would claim that the list's own
    // state had changed, which it has not.
    if (hold_.End()) NotifyWinEvent(EVENT_OBJECT_REORDER, list_, OBJID_CLIENT, CHILDID_SELF);
}

void ToggleHeaderButtons(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) ^ HDS_BUTTONS);
    SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

}  // namespace qorvani
