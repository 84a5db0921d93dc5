#pragma once
// The four check-all / check-none buttons: index 0 and 1 for the result list, 2 and 3 for the
// type list.
#include <cstddef>

#include "common/core/Pacing.h"

namespace qorvani {

enum class SelectionList { Results, Types };

// The lists as a selection pass sees them.
class SelectionView {
public:
    virtual ~SelectionView() = default;
    virtual bool ListEnabled(SelectionList list) = 0;
    virtual std::size_t RowCount(SelectionList list) = 0;
    virtual void SetRowChecked(SelectionList list, std::size_t row, bool checked) = 0;  // rows from 0
    virtual void RebuildActiveMasks() = 0;
};

// The pass paces itself through pace: AtRowEnd after every row.
void SelectionClick(int index, SelectionView& view, Pacing& pace);

}  // namespace qorvani
