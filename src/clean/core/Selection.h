#pragma once
// The four select-all / select-none buttons (FlatCommand4 0 to 3).
#include <cstddef>

namespace qorvani {

enum class SelectionList { Results, Types };  // List1, List2

class SelectionView {
public:
    virtual ~SelectionView() = default;
    virtual bool ListEnabled(SelectionList list) = 0;
    virtual std::size_t RowCount(SelectionList list) = 0;
    virtual void SetRowChecked(SelectionList list, std::size_t row, bool checked) = 0;  // rows from 0
    virtual void RebuildActiveMasks() = 0;
    // Process every window message already waiting, then return.
    virtual void YieldToEvents() = 0;
};

void SelectionClick(int index, SelectionView& view);

}  // namespace qorvani
