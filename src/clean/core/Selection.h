#pragma once
// The check-all / check-none buttons: each checks or clears every row of one list.
#include <cstddef>

#include "common/core/Pacing.h"

namespace qorvani {

enum class SelectionList { Results, Types };

// What a selection button acts on: its list, and the state it gives every row.
struct SelectionTarget {
    SelectionList list;
    bool checked;
};

// The lists as a selection pass sees them.
class SelectionView {
public:
    virtual ~SelectionView() = default;
    virtual bool ListEnabled(SelectionList list) = 0;
    virtual std::size_t RowCount(SelectionList list) = 0;
    virtual void SetRowChecked(SelectionList list, std::size_t row, bool checked) = 0;  // rows from 0
    virtual void RebuildActiveMasks() = 0;
};

// A selection button's click: every row of the target's list set to its state, unless the list
// is disabled. The pass paces itself through pace: Begin and End around it (a disabled list
// included), AtRowEnd after every row.
void SelectionClick(SelectionTarget target, SelectionView& view, Pacing& pace);

}  // namespace qorvani
