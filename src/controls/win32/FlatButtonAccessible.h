#pragma once
// What accessibility tools (Narrator, NVDA) see of a flat button: a push button whose name is
// its caption, "unavailable" while disabled, "focused" with the focus, and whose default action
// clicks it.
//
// The button answers WM_GETOBJECT itself. For OBJID_CLIENT it hands out a small accessible
// object of its own that takes everything but name, role, state and default action from the
// system's standard object for the window (its place, parent, navigation, hit testing). For
// OBJID_QUERYCLASSNAMEIDX it names the system's button class, so that tools which build their
// own proxies by class treat it as a button too.
#include <windows.h>

namespace qorvani {

// The answer of a flat button to WM_GETOBJECT (0 hands the request to the system).
LRESULT AnswerFlatButtonObject(HWND button, WPARAM wParam, LPARAM lParam);

}  // namespace qorvani
