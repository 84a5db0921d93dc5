#pragma once
// The state events of a list's rows during a bulk pass (a selection pass sets every row's check
// box). A screen reader speaks each event it hears, so a pass over more rows than the list shows
// at once holds them, and the list is told once, at the end, that its rows changed. Passes nest
// (a pass run from another's yield): the events stay held until the last holding pass has ended.
#include <cstddef>
#include <vector>

namespace qorvani {

class RowEventHold {
public:
    // Whether a pass over rows rows, perPage of them shown at once, holds its row events: when it
    // reaches past one screenful. A pass within a screenful is told row by row, as a click is.
    static bool Holds(std::size_t rows, std::size_t perPage) { return rows > perPage; }

    // A pass begins over rows rows, perPage of them shown at once.
    void Begin(std::size_t rows, std::size_t perPage);
    // A row's state changed: true when its event is to be sent now, false while it is held.
    bool RowChanged();
    // The innermost pass ends: true when the one event for the whole list is to be sent now (no
    // pass holds any more, and a row changed while one did).
    bool End();
    bool Holding() const { return holding_ > 0; }

private:
    std::vector<bool> passes_;  // whether each running pass holds, the innermost last
    std::size_t holding_ = 0;
    bool changed_ = false;
};

}  // namespace qorvani
