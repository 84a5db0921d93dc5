#pragma once
// The result list: an owner-data list view over the program's own row store. It answers the
// list's notifications, which its parent reflects to it (display texts and the like), toggles check boxes on the user's clicks and keys, and
// brings the list up to date at the pace the caller sets (Refresh), never per row.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/ResultMenu.h"
#include "app/win32/PathCellPainter.h"
#include "common/win32/Reflector.h"
#include "scan/core/ResultStore.h"

namespace qorvani {

class ResultList final : public ReflectedControl, private ResultMenuView {
public:
    ResultList() = default;
    ResultList(const ResultList&) = delete;
    ResultList& operator=(const ResultList&) = delete;

    // Takes over the list view (created owner-data with check boxes). checksChanged runs after
    // each check box the user toggles; deleteKey when Delete is pressed on the list.
    void Attach(HWND list, std::function<void()> checksChanged, std::function<void()> deleteKey);
    // While a long command runs (a scan, a selection pass, a delete), the menu's sort items
    // cannot be chosen.
    void SetBusy(bool busy) { busy_ = busy; }
    HWND Handle() const { return list_; }
    const ResultStore& Rows() const { return rows_; }
    // The store itself, for a command that rebuilds it (the delete); RowsRebuilt shows the result.
    ResultStore& Rows() { return rows_; }

    // Every row removed, at once on the screen.
    void Clear();
    // A row added to the store; the list shows it at the next Refresh.
    void Append(const std::wstring& folder, std::wstring_view name, std::uint64_t size) {
        rows_.Append(folder, name, size);
    }
    std::size_t Count() const { return rows_.Count(); }
    bool Checked(std::size_t row) const { return rows_.Checked(row); }
    // Sets a row's check box from the program; it is repainted at the next Refresh.
    void SetChecked(std::size_t row, bool checked);
    // What the menu's sort items do: the rows in that order, the focused row followed.
    void Sort(RowOrder order);
    // The store was rebuilt: the list shows its rows at once.
    void RowsRebuilt();

    // Brings the list's row count up to date now.
    void SyncCount();
    // The live refresh: the row count (cost-bounded while new rows fall below the visible page),
    // the rows whose check boxes changed, and the paint.
    void Refresh();

    // The list's notifications: display texts (LVN_GETDISPINFOW), the first column's drawing
    // (NM_CUSTOMDRAW), type-to-find (LVN_ODFINDITEMW) and no label editing. Others give 0.
    LRESULT OnReflectedNotify(NMHDR& header) override;
    // The first column's drawing: long paths cut in the middle, whole in a tip.
    PathCellPainter& PathCells() { return cells_; }

private:
    static LRESULT CALLBACK SubclassProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    bool OnInput(UINT message, WPARAM wParam, LPARAM lParam);
    void OnGetDispInfo(NMLVDISPINFOW* info);
    LRESULT OnFindItem(const NMLVFINDITEMW& find) const;
    void ToggleRow(int row);
    bool NewRowsWouldShow() const;
    // The row menu, at a point of the screen, or under the focused row for (-1, -1).
    void ShowMenu(POINT screen);
    // ResultMenuView.
    void OpenFolderOf(const std::wstring& exactPath) override;
    void CopyText(const std::wstring& text) override;
    void RowsReordered(std::optional<std::size_t> row) override;

    // Setting the list's row count redraws its scroll bars, which is slow on some systems (about
    // 30 ms under Wine). While the new rows fall below the visible page (only the scroll bar would
    // change) it is done only as often as keeps its cost near a twentieth of the time, and at
    // least once a second.
    static constexpr DWORD kCountSyncCostShare = 20;
    static constexpr DWORD kMaxCountSyncMilliseconds = 1000;

    HWND list_ = nullptr;
    std::function<void()> checksChanged_, deleteKey_;
    bool busy_ = false;
    ResultStore rows_;
    PathCellPainter cells_;
    std::size_t shownCount_ = 0;
    bool rowsDirty_ = false;
    DWORD lastCountSync_ = 0;
    DWORD countSyncInterval_ = 0;
};

}  // namespace qorvani
