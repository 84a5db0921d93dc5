#include "common/core/PaceClock.h"

namespace qorvani {

void PaceClock::Begin(std::uint32_t now) {
    lookDue_ = true;
    repaintDue_ = true;
    lastRetrieve_ = now;
}

PaceActions PaceClock::At(std::uint32_t now, bool lookPoint) {
    PaceActions actions;
    if (lookPoint && (lookDue_ || Passed(now, lastLook_, intervals_.lookMs))) {
        actions.look = true;
        lookDue_ = false;
        lastLook_ = now;
    }
    if (repaintDue_ || Passed(now, lastRepaint_, intervals_.repaintMs)) {
        actions.repaint = true;
        Repainted(now);
    }
    if (Passed(now, lastRetrieve_, intervals_.keepAliveMs)) {
        actions.keepAlive = true;
        lastRetrieve_ = now;
    }
    return actions;
}

void PaceClock::Repainted(std::uint32_t now) {
    repaintDue_ = false;
    lastRepaint_ = now;
}

}  // namespace qorvani
