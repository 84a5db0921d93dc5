#include "app/win32/TypeListBox.h"

#include <commctrl.h>

#include "common/win32/ListViews.h"

namespace qorvani {

void TypeListBox::AddTypeRow(const std::wstring& mask, const std::wstring& description) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(TypeRowCount());
    std::wstring text = mask;
    item.pszText = text.data();
    const int row = static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMW sub{};
    sub.iSubItem = 1;
    std::wstring descriptionText = description;
    sub.pszText = descriptionText.data();
    SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
}

std::size_t TypeListBox::TypeRowCount() { return static_cast<std::size_t>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

bool TypeListBox::TypeRowChecked(std::size_t row) {
    return ((SendMessageW(list_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::wstring TypeListBox::TypeRowText(std::size_t row) {
    wchar_t buffer[MAX_PATH] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = MAX_PATH;
    const auto length = SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return std::wstring(buffer, static_cast<std::size_t>(length));
}

void TypeListBox::SetTypeRowChecked(std::size_t row, bool checked) {
    const bool changed = TypeRowChecked(row) != checked;
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    if (changed) checkEvents_.RowChanged(row);
}

LRESULT TypeListBox::OnReflectedNotify(NMHDR& header) {
    switch (header.code) {
        case LVN_BEGINLABELEDITW:
            return TRUE;  // in-place editing is refused
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) &&
                checkChanged_)
                checkChanged_();
            return 0;
        }
    }
    return 0;
}

}  // namespace qorvani
