#pragma once
// Helpers for driving the real windows the way a user's mouse would.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DriveSupport.h"
#include "MainWindowHost.h"

namespace wintest {

// Handles every waiting message for about the given time (at least one pass).
using qorvani::drive::Pump;
// Drops a WM_QUIT that a closed window left in the queue; true if there was one.
using qorvani::drive::TakeQuit;

// Every wait of the Windows tests for the window (or for another thread or process) is one of
// these two: the condition is polled, this thread's messages handled in between (so that a
// window of this thread goes on working), for at most the given time by the clock; the result
// says whether the condition came true. WaitFor then fails the running test, naming what it
// waited for; PollFor fails nothing (a wait whose end is not a failure, as before a retry).
bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds, const std::string& what);
bool PollFor(const std::function<bool()>& condition, DWORD milliseconds);

using qorvani::drive::ClickFlat;
using qorvani::drive::SendRealClick;
using qorvani::drive::StatusText;
using qorvani::drive::StatusTotal;
using qorvani::drive::Text;

// The same as posted messages: they are handled when the program next lets events run.
void PostClickFlat(HWND button);
// A click on a standard control (check box) at its centre, through posted mouse messages.
void ClickControl(HWND control);
// The left end of the check box of a visible list-view row, at its middle height (client
// coordinates); none when the row shows no check box.
std::optional<POINT> RowCheckBoxStart(HWND list, int row);
// A click on the check box of a list-view row.
void ClickRowCheckBox(HWND list, int row);
bool RowChecked(HWND list, int row);
std::wstring RowText(HWND list, int row, int column = 0);
int RowCount(HWND list);

// Windows sends WM_DPICHANGED when a window moves to a monitor of another scale; Wine, with one
// DPI for every monitor, never does: this sends it to the main window as Windows would, with the
// frame for the layout at that DPI suggested at (40, 30).
void ChangeDpi(HWND window, int dpi);

// Rectangle of a child in its parent's client coordinates.
RECT ChildRect(HWND child);

// A temporary folder (ending in "\") removed with everything in it at destruction.
class TempTree {
public:
    TempTree();
    ~TempTree();
    const std::wstring& Root() const { return root_; }
    void Folder(const std::wstring& relative);
    void File(const std::wstring& relative, std::uint64_t size);

private:
    std::wstring root_;
};

using qorvani::drive::RemoveTree;

}  // namespace wintest
