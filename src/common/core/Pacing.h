#pragma once
// How a long command on the window's thread (the walk, a selection pass, the delete) keeps the
// window alive. The command says what kind of point it has reached; the window decides by its
// clock what that costs (a keep-alive, a repaint, a look at the queue). Each call is cheap.
namespace qorvani {

class Pacing {
public:
    virtual ~Pacing() = default;
    // A step where no input may run: every entry listed, every row looked at.
    virtual void Step() {}
    // A point where waiting input may run, when the system reports any (a folder entered).
    virtual void InputPoint() {}
    // A point where every waiting message may run (after a row of a selection pass).
    virtual void EventPoint() {}
    // Every waiting message runs now (before a scan's walk and after it).
    virtual void RunWaitingEvents() {}
};

}  // namespace qorvani
