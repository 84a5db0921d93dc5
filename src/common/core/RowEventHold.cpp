#include "common/core/RowEventHold.h"

namespace qorvani {

void RowEventHold::Begin(std::size_t rows, std::size_t perPage) {
    const bool holds = Holds(rows, perPage);
    passes_.push_back(holds);
    if (holds) ++holding_;
}

bool RowEventHold::RowChanged() {
    if (holding_ == 0) return true;
    changed_ = true;
    return false;
}

bool RowEventHold::End() {
    if (passes_.empty()) return false;  // no pass runs
    if (passes_.back()) --holding_;
    passes_.pop_back();
    if (holding_ > 0 || !changed_) return false;
    changed_ = false;
    return true;
}

}  // namespace qorvani
