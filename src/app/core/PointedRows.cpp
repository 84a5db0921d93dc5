#include "app/core/PointedRows.h"

#include <unordered_map>

namespace qorvani {

PointedRows FoundIndicesOf(const ResultStore& rows, const PointedRows& pointed) {
    PointedRows found;
    if (pointed.focused && *pointed.focused < rows.Count()) found.focused = rows.FoundIndex(*pointed.focused);
    for (const std::size_t row : pointed.selected)
        if (row < rows.Count()) found.selected.push_back(rows.FoundIndex(row));
    for (const std::size_t row : pointed.page)
        if (row < rows.Count()) found.page.push_back(rows.FoundIndex(row));
    return found;
}

PointedRows RowsOfFoundIndices(const ResultStore& rows, const PointedRows& found) {
    PointedRows now;
    if (!found.focused && found.selected.empty() && found.page.empty()) return now;
    // One pass over the rows, whatever the number of rows pointed at.
    std::unordered_map<std::size_t, std::size_t> rowOf;
    rowOf.reserve(found.selected.size() + found.page.size() + 1);
    if (found.focused) rowOf.emplace(*found.focused, 0);
    for (const std::size_t index : found.selected) rowOf.emplace(index, 0);
    for (const std::size_t index : found.page) rowOf.emplace(index, 0);
    std::size_t located = 0;
    for (std::size_t row = 0; row < rows.Count() && located < rowOf.size(); ++row) {
        const auto entry = rowOf.find(rows.FoundIndex(row));
        if (entry == rowOf.end()) continue;
        entry->second = row + 1;  // 0: not (or no longer) listed
        ++located;
    }
    if (found.focused)
        if (const std::size_t row = rowOf[*found.focused]) now.focused = row - 1;
    for (const std::size_t index : found.selected)
        if (const std::size_t row = rowOf[index]) now.selected.push_back(row - 1);
    for (const std::size_t index : found.page)
        if (const std::size_t row = rowOf[index]) now.page.push_back(row - 1);
    return now;
}

}  // namespace qorvani
