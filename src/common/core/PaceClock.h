#pragma once
// The clock behind Pacing: when each of its three acts (keep-alive, repaint, look; Pacing.h says
// what each does) is due, by a 32-bit millisecond clock that wraps. An act is due once its
// interval has passed since it was last done; a look only at a look point, and the first look
// point after Begin always looks.
#include <cstdint>

namespace qorvani {

struct PaceActions {
    bool look = false;       // look at the queue: only ever at a look point
    bool repaint = false;    // bring the live display up to date
    bool keepAlive = false;  // retrieve messages without handling input
};

struct PaceIntervals {
    std::uint32_t keepAliveMs = 250;
    std::uint32_t repaintMs = 60;
    std::uint32_t lookMs = 10;
};

class PaceClock {
public:
    explicit PaceClock(PaceIntervals intervals = {}) : intervals_(intervals) {}

    // A long command starts, from a message handler (messages were just retrieved): its first
    // look point looks, and its first point repaints.
    void Begin(std::uint32_t now);
    // What to do at a point of the command (a look point or a work point). Every action returned
    // counts as done at now. A look counts as retrieving messages only when the caller then
    // pumps: it says so through Retrieved.
    PaceActions At(std::uint32_t now, bool lookPoint);
    // Messages were retrieved (a look that pumped, a nested message loop).
    void Retrieved(std::uint32_t now) { lastRetrieve_ = now; }
    // The display was brought up to date outside At (a command's final texts).
    void Repainted(std::uint32_t now);

private:
    static bool Passed(std::uint32_t now, std::uint32_t since, std::uint32_t interval) {
        return static_cast<std::uint32_t>(now - since) >= interval;  // modulo 2^32
    }

    PaceIntervals intervals_;
    std::uint32_t lastLook_ = 0;
    std::uint32_t lastRepaint_ = 0;
    std::uint32_t lastRetrieve_ = 0;
    bool lookDue_ = true;
    bool repaintDue_ = true;
};

}  // namespace qorvani
