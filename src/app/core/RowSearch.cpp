#include "app/core/RowSearch.h"

#include "scan/core/UpperCase.h"

namespace qorvani {

std::optional<RowSearch> RowSearchOfFind(unsigned flags, const wchar_t* text, int start) {
    if (text == nullptr || (flags & (kFindByParam | kFindNearestPoint)) != 0) return std::nullopt;
    RowSearch search;
    search.text = text;
    search.prefix = (flags & (kFindPartial | kFindSubstring)) != 0;
    search.start = start > 0 ? static_cast<std::size_t>(start) : 0;
    search.wrap = (flags & kFindWrap) != 0;
    return search;
}

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
    // A start at or past the end finds nothing before the wrap, and then everything.
    const std::size_t start = search.start < rowCount ? search.start : rowCount;
    for (std::size_t index = start; index < rowCount; ++index)
        if (matches(index)) return static_cast<long>(index);
    if (search.wrap)
        for (std::size_t index = 0; index < start; ++index)
            if (matches(index)) return static_cast<long>(index);
    return -1;
}

}  // namespace qorvani
