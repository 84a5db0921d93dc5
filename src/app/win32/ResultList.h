#pragma once
// The result list: an owner-data list view over the checklist's rows (the store, which the
// window owns). It answers the list's notifications, which its parent reflects to it (the cells' texts from ResultCells),
// toggles check boxes on the user's clicks and keys and on a state image set from outside
// (LVM_SETITEMSTATE, as UI Automation's Toggle sends it), and brings the list up to date at the pace
// the caller sets (Refresh), never per row; RowCountCadence says when the list learns its count.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/PointedRows.h"
#include "app/core/ResultMenu.h"
#include "app/core/RowCountCadence.h"
#include "app/win32/ResultCells.h"
#include "common/win32/ListViews.h"
#include "common/win32/Reflector.h"
#include "checklist/core/ResultStore.h"

namespace qorvani {

class ResultList final : public ReflectedControl, private ResultMenuView {
public:
    explicit ResultList(ResultStore& rows) : rows_(rows), cells_(rows) {}
    ResultList(const ResultList&) = delete;
    ResultList& operator=(const ResultList&) = delete;

    // Takes over the list view (created owner-data with check boxes). checksChanged runs after
    // each check box the user toggles; deleteKey when Delete is pressed on the list.
    void Attach(HWND list, std::function<void()> checksChanged, std::function<void()> deleteKey);
    // While a long command runs (a scan, a selection pass, a delete), the menu's sort items
    // cannot be chosen.
    void SetBusy(bool busy) { busy_ = busy; }
    HWND Handle() const { return list_; }

    // Every row removed, from the store and at once from the screen. Rows added to the store
    // later show at the next Refresh.
    void Clear();
    // Sets a row's check box from the program; it is repainted at the next Refresh. Its event
    // goes out as CheckEvents says.
    void SetChecked(std::size_t row, bool checked);
    CheckEvents& ProgramCheckEvents() { return checkEvents_; }
    // What the menu's sort items do: the rows in that order, the focused row followed.
    void Sort(RowOrder order);
    // Before a command rebuilds the store (the delete): which files the focus, the selection and
    // the top of the page are on. RowsRebuilt puts them back on the same files.
    void RememberPointedRows();
    // The store was rebuilt: the list shows its rows at once, the focus and the selection on the
    // files they were on (none where that file is gone), the page from the same file down.
    void RowsRebuilt();

    // The scan is over: the list learns its whole row count now.
    void ShowAllRows();
    // The live refresh: the row count as RowCountCadence says, the rows whose check boxes
    // changed, and the paint.
    void Refresh();

    // The list's notifications: display texts (LVN_GETDISPINFOW), the first column's drawing
    // (NM_CUSTOMDRAW), type-to-find (LVN_ODFINDITEMW) and no label editing. Others give 0.
    LRESULT OnReflectedNotify(NMHDR& header) override;
    // The cells' texts: long paths cut in the middle, whole in a tip (whose notifications the
    // list's parent reflects to the cells).
    ResultCells& Cells() { return cells_; }

private:
    static LRESULT CALLBACK SubclassProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    bool OnInput(UINT message, WPARAM wParam, LPARAM lParam);
    void OnGetDispInfo(NMLVDISPINFOW* info);
    LRESULT OnFindItem(const NMLVFINDITEMW& find) const;
    void ToggleRow(int row);
    void SetStateImage(int row, UINT image);
    // The row menu, at a point of the screen, or under the focused row for (-1, -1).
    void ShowMenu(POINT screen);
    // ResultMenuView.
    void OpenFolderOf(const std::wstring& exactPath) override;
    void CopyText(const std::wstring& text) override;
    void RowsReordered(std::optional<std::size_t> row) override;
    void ExportRows(const ResultStore& rows) override;
    // Puts the focus and the selection on exactly these rows, and the first page row at the top.
    void Point(const PointedRows& rows);

    HWND list_ = nullptr;
    CheckEvents checkEvents_;
    std::function<void()> checksChanged_, deleteKey_;
    bool busy_ = false;
    ResultStore& rows_;
    ResultCells cells_;
    RowCountCadence count_;
    bool rowsDirty_ = false;
    PointedRows remembered_;  // by their places in the order found
};

}  // namespace qorvani
