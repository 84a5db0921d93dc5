#pragma once
// Pacing: how a long command on the window's thread (the walk, a selection pass, the delete) keeps
// the window alive. The command calls a point by what it has reached; the pacer (the window's
// Pacer, by the clock of PaceClock) decides which of three acts the point costs:
//  - keep-alive: messages are retrieved, no input handled, at least every 250 ms, so that the
//    system never counts the window as hung;
//  - repaint: the live display (the result list's rows, the status text) is brought up to date,
//    about every 60 ms;
//  - look: the queue is looked at, and what waits may run; only at a look point, the first one
//    after the command begins and then at most every 10 ms.
// The points, as the commands call them:
//  Begin()             a long command starts (a scan after emptying its rows, a selection pass, a
//                      delete): its first look point looks at the queue, its first point repaints.
//  End()               the command is over, whichever way it returns: the live display is brought
//                      up to date now.
//  AtWork()            a work point: every entry listed, every row of the delete's passes, right
//                      before each shell call. Keep-alive and repaint as due; no input ever runs.
//  AtFolderEntry()     a look point, on entering a folder of the walk (after its status text): as
//                      AtWork, and when a look is due and input or a posted message waits, every
//                      waiting message runs (a stop click, or a screen reader's press, is handled
//                      here).
//  AtRowEnd()          a look point, after each row of a selection pass: as AtWork, and when a
//                      look is due, every waiting message runs.
//  RunWaitingEvents()  every waiting message runs now (before a scan's walk and after it).
// A point with no act due costs one read of the clock. A command takes a Pacing& and calls it;
// the points here do nothing, for a command run without a window.
namespace qorvani {

class Pacing {
public:
    virtual ~Pacing() = default;
    virtual void Begin() {}
    virtual void End() {}
    virtual void AtWork() {}
    virtual void AtFolderEntry() {}
    virtual void AtRowEnd() {}
    virtual void RunWaitingEvents() {}
};

// Begin on making, End on leaving: a command's whole run, every return included.
class PacedRun {
public:
    explicit PacedRun(Pacing& pace) : pace_(pace) { pace_.Begin(); }
    ~PacedRun() { pace_.End(); }
    PacedRun(const PacedRun&) = delete;
    PacedRun& operator=(const PacedRun&) = delete;

private:
    Pacing& pace_;
};

}  // namespace qorvani
