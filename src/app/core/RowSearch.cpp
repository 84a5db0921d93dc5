#include "app/core/RowSearch.h"

#include "scan/core/UpperCase.h"

namespace qorvani {

long FindRow(const RowSearch& search, std::size_t rowCount, const std::function<std::wstring(std::size_t)>& textOf) {
    if (search.text.empty() || rowCount == 0) return -1;
    const std::wstring wanted = UpperCase(search.text);
    std::wstring row;
    auto matches = [&](std::size_t index) {
        row = textOf(index);
        if (search.prefix) {
            if (row.size() < wanted.size()) return false;
            row.resize(wanted.size());
        } else if (row.size() != wanted.size()) {
            return false;
        }
        UpperCaseInPlace(row);
        return row == wanted;
    };
    const std::size_t start = search.start < rowCount ? search.start : 0;
    for (std::size_t index = start; index < rowCount; ++index)
        if (matches(index)) return static_cast<long>(index);
    if (search.wrap)
        for (std::size_t index = 0; index < start; ++index)
            if (matches(index)) return static_cast<long>(index);
    return -1;
}

}  // namespace qorvani
