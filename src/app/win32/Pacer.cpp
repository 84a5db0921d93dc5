#include "app/win32/Pacer.h"

#include "common/win32/MessagePump.h"

namespace qorvani {

void Pacer::Begin() {
    repaints_ = 0;
    clock_.Begin(GetTickCount());
}

void Pacer::AtWork() { Carry(clock_.At(GetTickCount(), false)); }

void Pacer::AtFolderEntry() {
    const PaceActions actions = clock_.At(GetTickCount(), true);
    Carry(actions);
    // The walk's keys go to the focused control without the navigation: while a scan runs only
    // the result list and "停止" take input, and keys pressed at random (the input storms) are
    // not to carry the focus onto "停止", where the next Space would stop the scan.
    if (actions.look && EventsWaiting()) PumpAll(KeyNavigation::FocusOnly);
}

void Pacer::AtRowEnd() {
    const PaceActions actions = clock_.At(GetTickCount(), true);
    Carry(actions);
    if (actions.look) PumpAll();
}

void Pacer::PumpAll(KeyNavigation keys) {
    PumpPendingMessages(keys);
    clock_.Retrieved(GetTickCount());
}

void Pacer::Carry(const PaceActions& actions) {
    if (actions.repaint) RepaintNow();
    if (actions.keepAlive) {
        // Answers the messages that other threads send (the system, accessibility tools) and
        // removes nothing: waiting input stays in the queue for the command's own points.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        // Parts of the window uncovered meanwhile are painted again.
        RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

void Pacer::RepaintNow() {
    display_.RepaintLive();
    ++repaints_;
}

}  // namespace qorvani
