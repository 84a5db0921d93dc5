#pragma once
// The one pacer of the long commands (the walk, a selection pass, the delete pass), on the
// window's thread: the window hands it to each command as its Pacing. It carries out the points
// of Pacing.h by the rules of PaceClock: keeps the window responsive, repaints the live display
// (the result list and the status text) at a steady rate, and lets waiting input run only at the
// look points.
#include <windows.h>

#include <cstddef>
#include <string>

#include "app/win32/ResultList.h"
#include "app/win32/StatusBar.h"
#include "common/win32/MessagePump.h"
#include "common/core/PaceClock.h"
#include "common/core/Pacing.h"

namespace qorvani {

class Pacer final : public Pacing {
public:
    explicit Pacer(ResultList& results) : results_(results) {}
    Pacer(const Pacer&) = delete;
    Pacer& operator=(const Pacer&) = delete;

    // The window repainted when messages are retrieved, and its status bar.
    void Attach(HWND window, HWND status) {
        window_ = window;
        status_.Attach(status);
    }
    // A long command starts: its first look point looks at the queue, its first point repaints.
    void Begin();
    // Pacing. A keep-alive answers other threads and handles no input.
    void AtWork() override;
    void AtFolderEntry() override;
    void AtRowEnd() override;
    void RunWaitingEvents() override { PumpAll(); }

    // The status text shown at the next repaint (a later one replaces it unseen).
    void ShowStatusSoon(std::wstring text);
    // The status text shown now; one waiting to be shown is dropped.
    void SetStatusNow(const std::wstring& text);
    // The checked total shown now (none while the result list is empty); a repaint shows it too.
    void ShowTotalNow();
    const StatusBar& Status() const { return status_; }
    // Brings the live display up to date now.
    void RepaintNow();
    std::size_t RepaintCount() const { return repaints_; }
    void ResetRepaintCount() { repaints_ = 0; }

private:
    void Carry(const PaceActions& actions);
    void PumpAll(KeyNavigation keys = KeyNavigation::Dialog);

    HWND window_ = nullptr;
    StatusBar status_;
    ResultList& results_;
    PaceClock clock_;
    std::wstring pendingStatus_;
    bool statusPending_ = false;
    std::size_t repaints_ = 0;
};

}  // namespace qorvani
