#pragma once
#include <windows.h>

namespace qorvani {

// The keyboard navigation of a window made of controls, as a dialog has it: Tab and Shift+Tab
// move the focus along the tab stops, Enter goes to the focused button or the window's default
// button (DM_GETDEFID), Esc to the window as IDCANCEL. True when msg was a key message for a
// window of this thread's top-level windows and has been handled so.
bool HandleNavigationKey(MSG& msg);

// Lets pending window events run: handles every message already waiting for this thread, then
// returns. A WM_QUIT met on the way is posted again for the outer loop; the result is then false.
bool PumpPendingMessages();

// True when mouse-button or keyboard input waits in this thread's queue now. The high word of
// GetQueueStatus reports what the queue holds; GetInputState on Windows reports only input that
// arrived since the thread last looked at its queue (its "changed" bits), so a peek that keeps
// the window alive without removing anything would hide the waiting input from it.
inline bool InputWaiting() { return HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON)) != 0; }

}  // namespace qorvani
