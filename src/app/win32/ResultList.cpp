#include "app/win32/ResultList.h"

#include <algorithm>

#include "app/core/ListExport.h"
#include "app/core/RowSearch.h"
#include "common/core/Texts.h"
#include "common/win32/ListViews.h"
#include "app/win32/RowActions.h"
#include "common/win32/Handles.h"

namespace qorvani {
namespace {

// Copies text into a list view's display buffer, cut to its size.
void CopyDisplayText(const std::wstring& text, wchar_t* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) return;
    const std::size_t count = std::min<std::size_t>(text.size(), static_cast<std::size_t>(capacity - 1));
    std::copy_n(text.data(), count, buffer);
    buffer[count] = L'\0';
}

// Milliseconds between two performance counter readings.
std::uint32_t ElapsedMilliseconds(const LARGE_INTEGER& before, const LARGE_INTEGER& after) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<std::uint32_t>((after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart);
}

}  // namespace

void ResultList::Attach(HWND list, std::function<void()> checksChanged, std::function<void()> deleteKey) {
    list_ = list;
    checkEvents_.Attach(list_);
    checksChanged_ = std::move(checksChanged);
    deleteKey_ = std::move(deleteKey);
    cells_.Attach(list_);
    SetWindowSubclass(list_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT ResultList::OnReflectedNotify(NMHDR& header) {
    switch (header.code) {
        case LVN_GETDISPINFOW:
            OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(&header));
            return 0;
        case NM_CUSTOMDRAW:
            return cells_.OnCustomDraw(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
        case LVN_ODFINDITEMW:
            return OnFindItem(reinterpret_cast<const NMLVFINDITEMW&>(header));
        case LVN_BEGINLABELEDITW:
            return TRUE;  // in-place editing is refused
    }
    return 0;
}

// Type-to-find: the row whose display text begins with (or is) the typed text, or -1.
LRESULT ResultList::OnFindItem(const NMLVFINDITEMW& find) const {
    const std::optional<RowSearch> search = RowSearchOfFind(find.lvfi.flags, find.lvfi.psz, find.iStart);
    if (!search) return -1;
    return FindRow(*search, rows_.Count(), [this](std::size_t row) { return rows_.DisplayText(row); });
}

void ResultList::Clear() {
    rows_.Clear();
    count_.Emptied();
    rowsDirty_ = false;
    SendMessageW(list_, LVM_SETITEMCOUNT, 0, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void ResultList::SetChecked(std::size_t row, bool checked) {
    const bool changed = rows_.Checked(row) != checked;
    rows_.SetChecked(row, checked);
    rowsDirty_ = true;
    if (changed) checkEvents_.RowChanged(row);
}

namespace {

// Past this many selected rows the selection is not read back row by row (a message each): the
// focused row alone keeps its selection.
constexpr std::size_t kFollowedSelection = 4096;

int NextItem(HWND list, int after, UINT flags) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(after), flags));
}

void SetItemState(HWND list, int row, UINT state, UINT mask) {
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void ResultList::RememberPointedRows() {
    PointedRows now;
    const int focused = NextItem(list_, -1, LVNI_FOCUSED);
    if (focused >= 0) now.focused = static_cast<std::size_t>(focused);
    const auto selected = static_cast<std::size_t>(SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0));
    if (selected <= kFollowedSelection) {
        for (int row = NextItem(list_, -1, LVNI_SELECTED); row >= 0; row = NextItem(list_, row, LVNI_SELECTED))
            now.selected.push_back(static_cast<std::size_t>(row));
    } else if (focused >= 0 && (SendMessageW(list_, LVM_GETITEMSTATE, focused, LVIS_SELECTED) & LVIS_SELECTED) != 0) {
        now.selected.push_back(static_cast<std::size_t>(focused));
    }
    const auto top = static_cast<std::size_t>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
    const auto perPage = static_cast<std::size_t>(SendMessageW(list_, LVM_GETCOUNTPERPAGE, 0, 0));
    for (std::size_t row = top; row < top + perPage + 1 && row < rows_.Count(); ++row) now.page.push_back(row);
    remembered_ = FoundIndicesOf(rows_, now);
}

void ResultList::RowsRebuilt() {
    count_.Told(rows_.Count());
    SendMessageW(list_, LVM_SETITEMCOUNT, rows_.Count(), 0);
    Point(RowsOfFoundIndices(rows_, remembered_));
    remembered_ = {};
    InvalidateRect(list_, nullptr, TRUE);
}

void ResultList::Point(const PointedRows& rows) {
    SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (const std::size_t row : rows.selected) SetItemState(list_, static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
    const int focused = rows.focused ? static_cast<int>(*rows.focused) : -1;
    if (focused >= 0) SetItemState(list_, focused, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageW(list_, LVM_SETSELECTIONMARK, 0, focused);  // where Shift+click and Shift+arrows start
    if (!rows.page.empty()) {
        // Scrolled by whole rows, so that the page's first file still listed is at its top.
        const int top = static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
        RECT item{LVIR_BOUNDS, 0, 0, 0};
        if (SendMessageW(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)) && item.bottom > item.top)
            SendMessageW(list_, LVM_SCROLL, 0, (static_cast<int>(rows.page.front()) - top) * (item.bottom - item.top));
    }
    if (focused >= 0) SendMessageW(list_, LVM_ENSUREVISIBLE, focused, FALSE);
}

void ResultList::ShowAllRows() {
    const std::size_t count = rows_.Count();
    if (!count_.Behind(count)) return;
    count_.Told(count);
    SendMessageW(list_, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void ResultList::Refresh() {
    const DWORD now = GetTickCount();
    const std::size_t count = rows_.Count();
    if (count_.Behind(count)) {
        // The visible page, for whether new rows would show on it.
        const auto top = static_cast<std::size_t>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
        const auto perPage = static_cast<std::size_t>(SendMessageW(list_, LVM_GETCOUNTPERPAGE, 0, 0));
        if (count_.DueAtRepaint(count, top, perPage, now)) {
            LARGE_INTEGER before, after;
            QueryPerformanceCounter(&before);
            SendMessageW(list_, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
            QueryPerformanceCounter(&after);
            count_.ToldAtRepaint(count, now, ElapsedMilliseconds(before, after));
        }
    }
    if (rowsDirty_) {
        rowsDirty_ = false;
        InvalidateRect(list_, nullptr, FALSE);
    }
    UpdateWindow(list_);
}

void ResultList::OnGetDispInfo(NMLVDISPINFOW* info) {
    LVITEMW& item = info->item;
    if (item.mask & LVIF_TEXT) CopyDisplayText(cells_.Text(item.iItem, item.iSubItem), item.pszText, item.cchTextMax);
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= rows_.Count()) return;
    if (item.mask & LVIF_STATE) {
        const auto row = static_cast<std::size_t>(item.iItem);
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(rows_.Checked(row) ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
}

LRESULT CALLBACK ResultList::SubclassProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
    // The one subclass of the list: the cells' tip first hears of the pointer and the keys.
    reinterpret_cast<ResultList*>(self)->cells_.OnListMessage(message, lParam);
    if (message == LVM_SETITEMSTATE && lParam != 0) {
        // An owner-data list keeps no state images: a check box set from outside (UI
        // Automation's Toggle, another program) goes to the store; selection and focus go on.
        LVITEMW item = *reinterpret_cast<const LVITEMW*>(lParam);
        if (item.stateMask & LVIS_STATEIMAGEMASK) {
            reinterpret_cast<ResultList*>(self)->SetStateImage(static_cast<int>(wParam), item.state & LVIS_STATEIMAGEMASK);
            item.stateMask &= ~LVIS_STATEIMAGEMASK;
            if (item.stateMask == 0) return TRUE;
            return DefSubclassProc(list, message, wParam, reinterpret_cast<LPARAM>(&item));
        }
    }
    if (reinterpret_cast<ResultList*>(self)->OnInput(message, wParam, lParam)) return 0;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, SubclassProc, 1);
    return DefSubclassProc(list, message, wParam, lParam);
}

// The list holds no rows of its own, so its check boxes are toggled here: a click on a row's
// check box, or the space bar on the focused row.
bool ResultList::OnInput(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            LVHITTESTINFO hit{};
            hit.pt = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const int row = static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            if (row < 0 || !(hit.flags & LVHT_ONITEMSTATEICON)) return false;
            SetFocus(list_);
            ToggleRow(row);
            return true;
        }
        case WM_KEYDOWN:
            if (wParam == VK_DELETE) {
                if (deleteKey_) deleteKey_();
                return true;
            }
            if (wParam != VK_SPACE) return false;
            ToggleRow(static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
            return true;
        case WM_CHAR:
            return wParam == L' ';
        case WM_CONTEXTMENU:  // a right-click (after the list's own NM_RCLICK), the Menu key, Shift+F10
            ShowMenu(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return true;
    }
    return false;
}

void ResultList::ShowMenu(POINT screen) {
    std::optional<std::size_t> row;
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: the focused row, brought into view, or the list's corner.
        const int focused = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        RECT r{};
        if (focused >= 0 && static_cast<std::size_t>(focused) < rows_.Count()) {
            row = static_cast<std::size_t>(focused);
            SendMessageW(list_, LVM_ENSUREVISIBLE, focused, FALSE);
            r.left = LVIR_LABEL;
            SendMessageW(list_, LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&r));
        }
        screen = POINT{r.left, r.bottom};
        ClientToScreen(list_, &screen);
    } else {
        LVHITTESTINFO hit{};
        hit.pt = screen;
        ScreenToClient(list_, &hit.pt);
        const int found = static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (found >= 0 && static_cast<std::size_t>(found) < rows_.Count()) row = static_cast<std::size_t>(found);
    }
    MenuHandle menu(CreatePopupMenu());
    if (!menu.Valid()) return;
    for (const ResultMenuItem& item : kResultMenuItems) {
        if (item.text == nullptr) {
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const ResultMenuState state = StateOf(item.command, rows_, row, busy_);
        AppendMenuW(menu.Get(), MF_STRING | (state.enabled ? MF_ENABLED : MF_GRAYED), item.command, item.text);
        if (state.marked) CheckMenuRadioItem(menu.Get(), item.command, item.command, item.command, MF_BYCOMMAND);
    }
    const int chosen = static_cast<int>(TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                       screen.x, screen.y, 0, list_, nullptr));
    if (chosen != 0) RunResultMenuCommand(static_cast<ResultMenuCommand>(chosen), rows_, row, busy_, *this);
}

void ResultList::Sort(RowOrder order) {
    const int focused = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    const std::optional<std::size_t> row = focused >= 0 ? std::optional<std::size_t>(focused) : std::nullopt;
    RunResultMenuCommand(SortCommandOf(order), rows_, row, busy_, *this);
}

void ResultList::OpenFolderOf(const std::wstring& exactPath) { OpenFolderSelecting(exactPath); }

void ResultList::CopyText(const std::wstring& text) {
    if (!CopyToClipboard(list_, text))
        MessageBoxW(GetAncestor(list_, GA_ROOT), text::kClipboardBusy, text::kCopyPathItem, MB_OK | MB_ICONWARNING);
}

void ResultList::ExportRows(const ResultStore& rows) {
    const HWND window = GetAncestor(list_, GA_ROOT);
    const std::wstring path = ChooseExportFile(window);
    if (path.empty()) return;
    if (!WriteWholeFile(path, ListCsv(rows)))
        MessageBoxW(window, text::kExportFailed, text::kExportListItem, MB_OK | MB_ICONWARNING);
}

void ResultList::RowsReordered(std::optional<std::size_t> row) {
    // The selection and focus go with the row the menu was opened on.
    PointedRows pointed;
    pointed.focused = row;
    if (row) pointed.selected.push_back(*row);
    Point(pointed);
    InvalidateRect(list_, nullptr, FALSE);
}

// A state image set on a row (or on every row, -1): the first image is the clear box, the second
// the checked one; any other leaves the check as it is. The total follows, as after Space.
void ResultList::SetStateImage(int row, UINT image) {
    const UINT index = image >> 12;
    if (index != 1 && index != 2) return;
    const bool checked = index == 2;
    if (row == -1) {
        bool changed = false;
        for (std::size_t each = 0; each < rows_.Count(); ++each) {
            changed = changed || rows_.Checked(each) != checked;
            rows_.SetChecked(each, checked);
        }
        if (!changed) return;
        InvalidateRect(list_, nullptr, FALSE);
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, list_, OBJID_CLIENT, CHILDID_SELF);  // once, for the whole list
    } else {
        if (row < 0 || static_cast<std::size_t>(row) >= rows_.Count() || rows_.Checked(static_cast<std::size_t>(row)) == checked)
            return;
        rows_.SetChecked(static_cast<std::size_t>(row), checked);
        SendMessageW(list_, LVM_REDRAWITEMS, row, row);
        AnnounceCheck(list_, static_cast<std::size_t>(row));
    }
    if (checksChanged_) checksChanged_();
}

void ResultList::ToggleRow(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.Count()) return;
    rows_.SetChecked(static_cast<std::size_t>(row), !rows_.Checked(static_cast<std::size_t>(row)));
    SendMessageW(list_, LVM_REDRAWITEMS, row, row);
    AnnounceCheck(list_, static_cast<std::size_t>(row));
    if (checksChanged_) checksChanged_();
}

}  // namespace qorvani
