#include "checklist/core/CheckedTotal.h"

#include "common/core/Texts.h"
#include "scan/core/NumberText.h"

namespace qorvani {

std::wstring CheckedTotalText(std::size_t rows, std::uint64_t bytes) {
    return text::kCheckedPrefix + NumberText(std::uint64_t{rows}) + text::kCheckedCount +
           NumberText(MegabytesFigure(bytes)) + text::kMegabytes;
}

std::wstring CheckedTotalShown(const ResultStore& rows) {
    return rows.Count() == 0 ? std::wstring() : CheckedTotalText(rows.CheckedCount(), rows.CheckedBytes());
}

}  // namespace qorvani
