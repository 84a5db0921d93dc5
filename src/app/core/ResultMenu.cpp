#include "app/core/ResultMenu.h"

#include "app/core/PointedRows.h"

namespace qorvani {

namespace {

std::optional<RowOrder> OrderOf(ResultMenuCommand command) {
    switch (command) {
        case kMenuSortBySize: return RowOrder::BySize;
        case kMenuSortByPath: return RowOrder::ByPath;
        case kMenuSortAsFound: return RowOrder::Found;
        default: return std::nullopt;
    }
}

bool Valid(const ResultStore& rows, std::optional<std::size_t> row) { return row && *row < rows.Count(); }

}  // namespace

ResultMenuCommand SortCommandOf(RowOrder order) {
    for (ResultMenuCommand command : {kMenuSortBySize, kMenuSortByPath, kMenuSortAsFound})
        if (OrderOf(command) == order) return command;
    return kMenuSortAsFound;
}

ResultMenuState StateOf(ResultMenuCommand command, const ResultStore& rows, std::optional<std::size_t> row,
                        bool busy) {
    if (const std::optional<RowOrder> order = OrderOf(command))
        return {!busy && rows.Count() > 0, rows.Order() == *order};
    if (command == kMenuExportList) return {!busy && rows.Count() > 0, false};
    return {Valid(rows, row), false};
}

void RunResultMenuCommand(ResultMenuCommand command, ResultStore& rows, std::optional<std::size_t> row, bool busy,
                          ResultMenuView& view) {
    if (!StateOf(command, rows, row, busy).enabled) return;
    if (const std::optional<RowOrder> order = OrderOf(command)) {
        // The row the menu was opened on is followed to its new place.
        const PointedRows found = FoundIndicesOf(rows, {row, {}, {}});
        rows.Sort(*order);
        view.RowsReordered(RowsOfFoundIndices(rows, found).focused);
        return;
    }
    if (command == kMenuOpenFolder) view.OpenFolderOf(rows.ExactPath(*row));
    if (command == kMenuCopyPath) view.CopyText(rows.ExactPath(*row));
    if (command == kMenuExportList) view.ExportRows(rows);
}

}  // namespace qorvani
