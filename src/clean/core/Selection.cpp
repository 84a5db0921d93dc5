#include "clean/core/Selection.h"

namespace qorvani {

void SelectionClick(SelectionTarget target, SelectionView& view, Pacing& pace) {
    const PacedRun paced(pace);
    const SelectionList list = target.list;
    if (!view.ListEnabled(list)) return;

    const std::size_t n = view.RowCount(list);
    for (std::size_t row = 0; row < n; ++row) {
        // A delete or a scan run from an earlier yield may have shortened the list.
        if (row >= view.RowCount(list)) break;
        view.SetRowChecked(list, row, target.checked);
        if (list == SelectionList::Types) view.RebuildActiveMasks();
        pace.AtRowEnd();
    }
}

}  // namespace qorvani
