#pragma once
// The rows the user points at in the result list (the focused row and the selected ones), known
// by the file they name rather than by their number, so that a sort or a delete that moves and
// removes rows leaves the focus and the selection on the same files, never on a row number that
// now names another file.
#include <cstddef>
#include <optional>
#include <vector>

#include "checklist/core/ResultStore.h"

namespace qorvani {

struct PointedRows {
    std::optional<std::size_t> focused;
    std::vector<std::size_t> selected;
    // The rows shown from the top of the list's page down: the first of them still listed is
    // the page's top row again, so the view does not jump by the rows removed above it.
    std::vector<std::size_t> page;
};

// The same rows by their place in the order found (ResultStore::FoundIndex), which neither
// sorting nor keeping some rows changes; rows beyond the store are left out.
PointedRows FoundIndicesOf(const ResultStore& rows, const PointedRows& pointed);
// Where those files stand now; a file no longer listed is left out (no focus, not selected, not
// on the page).
PointedRows RowsOfFoundIndices(const ResultStore& rows, const PointedRows& found);

}  // namespace qorvani
