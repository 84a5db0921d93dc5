#pragma once
// The message handling that runs inside long commands and modal loops: the dialog keys, input
// meant for disabled windows dropped, and what waits in the thread's queue.
#include <windows.h>

namespace qorvani {

// The keyboard navigation of a window made of controls, as a dialog has it: Tab and Shift+Tab
// move the focus along the tab stops, Enter goes to the focused button or the window's default
// button (DM_GETDEFID), Esc to the window as IDCANCEL. True when msg was a key message for a
// window of this thread's top-level windows and has been handled so.
bool HandleNavigationKey(MSG& msg);

// True for a key or mouse message addressed to a window that is disabled, or inside a disabled
// window. The system never routes input there; such a message was posted by another program
// (or queued before the window was disabled), and a disabled control must not act on it.
bool ReachesDisabledWindow(const MSG& msg);

// How the keys met by PumpPendingMessages are handled: through the window's keyboard navigation
// (HandleNavigationKey), as in the outer loop, or handed to the focused control alone.
enum class KeyNavigation { Dialog, FocusOnly };

// Lets pending window events run: handles every message already waiting for this thread, then
// returns. With KeyNavigation::Dialog, Tab, Shift+Tab, Enter and Esc act inside a long command as
// they do when the window is idle. Input for a disabled window is dropped (ReachesDisabledWindow).
// A WM_QUIT met on the way is posted again for the outer loop; the result is then false.
bool PumpPendingMessages(KeyNavigation keys = KeyNavigation::Dialog);

// True when mouse-button or keyboard input, or a posted message, waits in this thread's queue
// now. The high word of GetQueueStatus reports what the queue holds; GetInputState on Windows
// reports only input that arrived since the thread last looked at its queue (its "changed" bits),
// so a peek that keeps the window alive without removing anything would hide the waiting input
// from it. Posted messages are how a screen reader's or UI Automation's "press" (BM_CLICK), the
// taskbar's close (WM_SYSCOMMAND with SC_CLOSE) and COM's own calls between apartments arrive.
// Timers and paint are made by the system when the queue is read, never posted: a running hover
// poll or an invalid region does not count, or a long command would hand out its time at every
// look.
inline bool EventsWaiting() { return HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON | QS_POSTMESSAGE)) != 0; }

}  // namespace qorvani
