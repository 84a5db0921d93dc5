#pragma once
// The checked total that the window keeps in view while the result list has rows: how many rows
// are checked and how many megabytes they hold, "已选中： N个， X MB".
#include <cstddef>
#include <cstdint>
#include <string>

#include "checklist/core/ResultStore.h"

namespace qorvani {

// "已选中： N个， X MB", the numbers as the program writes every number.
std::wstring CheckedTotalText(std::size_t rows, std::uint64_t bytes);

// The total shown for the rows: their checked total, or the empty text (no total in view) while
// there are no rows.
std::wstring CheckedTotalShown(const ResultStore& rows);

}  // namespace qorvani
