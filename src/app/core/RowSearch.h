#pragma once
// Type-to-find in an owner-data list: the list asks for the row whose text begins with what the
// user typed.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qorvani {

struct RowSearch {
    std::wstring_view text;   // what was typed
    bool prefix = true;       // a row's text begins with it; else the whole text equals it
    std::size_t start = 0;    // the first row looked at
    bool wrap = false;        // after the last row, go on from row 0 up to start (a start at or past
                              // the end finds nothing without it)
};

// The list view's LVFI_ flags of a find request (checked against <commctrl.h> in app/win32/SdkValues.cpp).
inline constexpr unsigned kFindByParam = 0x0001;       // LVFI_PARAM
inline constexpr unsigned kFindString = 0x0002;        // LVFI_STRING
inline constexpr unsigned kFindSubstring = 0x0004;     // LVFI_SUBSTRING (a prefix, as LVFI_PARTIAL)
inline constexpr unsigned kFindPartial = 0x0008;       // LVFI_PARTIAL
inline constexpr unsigned kFindWrap = 0x0020;          // LVFI_WRAP
inline constexpr unsigned kFindNearestPoint = 0x0040;  // LVFI_NEARESTXY

// The text search that a find request asks for, or none (a search by item data or by position,
// or no text). Every request with a text is a search by it, LVFI_WRAP alone included: by its
// beginning with LVFI_PARTIAL or LVFI_SUBSTRING, else by the whole text. The text is not copied.
std::optional<RowSearch> RowSearchOfFind(unsigned flags, const wchar_t* text, int start);

// The first row from search.start on whose text matches, letters in either case (the system's
// upper-casing); -1 when none does or the text is empty.
long FindRow(const RowSearch& search, std::size_t rowCount, const std::function<std::wstring(std::size_t)>& textOf);

}  // namespace qorvani
