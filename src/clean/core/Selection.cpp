#include "clean/core/Selection.h"

namespace qorvani {

void SelectionClick(int index, SelectionView& view, Pacing& pace) {
    if (index < 0 || index > 3) return;
    const bool target = index == 0 || index == 2;
    const SelectionList list = index < 2 ? SelectionList::Results : SelectionList::Types;
    if (!view.ListEnabled(list)) return;

    const std::size_t n = view.RowCount(list);
    for (std::size_t row = 0; row < n; ++row) {
        // A delete or a scan run from an earlier yield may have shortened the list.
        if (row >= view.RowCount(list)) break;
        view.SetRowChecked(list, row, target);
        if (list == SelectionList::Types) view.RebuildActiveMasks();
        pace.AtRowEnd();
    }
}

}  // namespace qorvani
