#pragma once
#include <windows.h>

namespace qorvani {

// Lets pending window events run: handles every message already waiting for this thread, then
// returns. A WM_QUIT met on the way is posted again for the outer loop; the result is then false.
bool PumpPendingMessages();

// True when mouse or keyboard input waits in this thread's queue.
inline bool InputWaiting() { return GetInputState() != FALSE; }

}  // namespace qorvani
