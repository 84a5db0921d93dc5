#pragma once
// Type-to-find in an owner-data list: the list asks for the row whose text begins with what the
// user typed.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qorvani {

struct RowSearch {
    std::wstring_view text;   // what was typed
    bool prefix = true;       // a row's text begins with it; else the whole text equals it
    std::size_t start = 0;    // the first row looked at
    bool wrap = false;        // after the last row, go on from row 0 up to start
};

// The first row from search.start on whose text matches, letters in either case (the system's
// upper-casing); -1 when none does or the text is empty.
long FindRow(const RowSearch& search, std::size_t rowCount, const std::function<std::wstring(std::size_t)>& textOf);

}  // namespace qorvani
