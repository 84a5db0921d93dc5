#pragma once
// When the result list learns its row count: the one rule for it. The row store grows at once
// (a scan appends a row per match); the list is told its new count only when this says so.
//
// Setting the list's row count redraws its scroll bars, which is slow on some systems (about
// 30 ms under Wine). So at a repaint the count is told at once while new rows would show on the
// visible page; while they fall below it (only the scroll bar would change), only as often as
// keeps its cost near a twentieth of the time, and at least once a second. Rows replaced (the
// list emptied, the rows rebuilt) and a command's end are told at once.
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace qorvani {

class RowCountCadence {
public:
    static constexpr std::uint32_t kCostShare = 20;
    static constexpr std::uint32_t kMaxIntervalMilliseconds = 1000;

    // The row count the list was last told.
    std::size_t Shown() const { return shown_; }
    // True when the list's count differs from the store's.
    bool Behind(std::size_t count) const { return shown_ != count; }
    // At a repaint at now (milliseconds, modulo 2^32), with the list showing perPage rows from
    // top: whether the list is told count now.
    bool DueAtRepaint(std::size_t count, std::size_t top, std::size_t perPage, std::uint32_t now) const {
        return Behind(count) && (top + perPage >= shown_ || now - lastTold_ >= interval_);
    }
    // The list was told count at a repaint at now, which took costMilliseconds.
    void ToldAtRepaint(std::size_t count, std::uint32_t now, std::uint32_t costMilliseconds) {
        shown_ = count;
        lastTold_ = now;
        interval_ = std::min(kMaxIntervalMilliseconds, costMilliseconds * kCostShare);
    }
    // The list was told count outside a repaint (rows rebuilt, a command's end).
    void Told(std::size_t count) { shown_ = count; }
    // The list was emptied: the next count it learns at a repaint goes at once.
    void Emptied() {
        shown_ = 0;
        interval_ = 0;
    }

private:
    std::size_t shown_ = 0;
    std::uint32_t lastTold_ = 0;
    std::uint32_t interval_ = 0;
};

}  // namespace qorvani
