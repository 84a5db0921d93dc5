#pragma once
// The one pacer of the long commands (the walk, a selection pass, the delete pass), on the
// window's thread: the window hands it to each command as its Pacing. It carries out the points
// of Pacing.h by the rules of PaceClock: keeps the window responsive, has the live display
// repainted at a steady rate, and lets waiting input run only at the look points. What the live
// display shows, and how, is the window's: the pacer only says when.
#include <windows.h>

#include <cstddef>

#include "common/win32/MessagePump.h"
#include "common/core/PaceClock.h"
#include "common/core/Pacing.h"

namespace qorvani {

// What a repaint brings up to date (the window implements it: the result list's rows, the status
// text and the checked total).
class LiveDisplay {
public:
    virtual void RepaintLive() = 0;

protected:
    ~LiveDisplay() = default;
};

class Pacer final : public Pacing {
public:
    explicit Pacer(LiveDisplay& display) : display_(display) {}
    Pacer(const Pacer&) = delete;
    Pacer& operator=(const Pacer&) = delete;

    // The window repainted when messages are retrieved.
    void Attach(HWND window) { window_ = window; }
    // Pacing. Begin: its first look point looks at the queue, its first point repaints, and the
    // repaints are counted from none. End: a repaint now. A keep-alive answers other threads and
    // handles no input.
    void Begin() override;
    void End() override { RepaintNow(); }
    void AtWork() override;
    void AtFolderEntry() override;
    void AtRowEnd() override;
    void RunWaitingEvents() override { PumpAll(); }

    // The live display brought up to date now.
    void RepaintNow();
    // Repaints since the last command began.
    std::size_t RepaintCount() const { return repaints_; }

private:
    void Carry(const PaceActions& actions);
    void PumpAll(KeyNavigation keys = KeyNavigation::Dialog);

    HWND window_ = nullptr;
    LiveDisplay& display_;
    PaceClock clock_;
    std::size_t repaints_ = 0;
};

}  // namespace qorvani
