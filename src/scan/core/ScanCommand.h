#pragma once
// The start / stop button: a whole scan runs inside its click; a click while scanning (handled
// nested, while the walk lets events run) only asks the scan to stop.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scan/core/ActiveMasks.h"
#include "scan/core/DirectoryLister.h"
#include "scan/core/FixedDrives.h"
#include "scan/core/Walker.h"

namespace qorvani {

// What the scan command needs of the window.
class ScanView {
public:
    virtual ~ScanView() = default;
    // true: every input but the result list and the scan button is disabled, and the scan
    // button reads "停止". false: they are enabled again (the path box and the browse button only
    // while the all-drives box is clear) and the scan button reads "开始扫描".
    virtual void SetScanning(bool scanning) = 0;
    virtual void ClearResults() = 0;                            // the result list's rows
    // The walk is over: the result list shows every row found, before the inputs come back.
    virtual void ShowFoundRows() = 0;
    virtual std::size_t ResultCount() = 0;
    virtual void SetResultCaption(std::wstring_view text) = 0;  // the caption above the lists
    virtual void SetStatusText(std::wstring_view text) = 0;
    virtual bool AllDrivesChecked() = 0;
    // The fixed drives as the system has them now (a disk attached since the last scan is among
    // them); asked once per scan, only when the all-drives box is checked.
    virtual FixedDrives FixedDrivesNow() = 0;
    virtual std::wstring PathText() = 0;                        // the path box
    virtual std::uint32_t Milliseconds() = 0;                   // timeGetTime
};

// The report written into the result caption after a scan.
std::wstring ScanReportText(std::size_t files, std::uint64_t totalBytes,
                            std::uint32_t elapsedMilliseconds);

// The scan button's click: a whole scan when none runs, else a stop request for the one running
// further down the stack. The walk's rows and status go through sink; the scan's pacing begins
// once its rows are emptied and ends after its inputs are given back, it runs the waiting events
// through pace before its walk and after it, and the walk paces itself through it.
void ScanCommandClick(ScanView& view, WalkSink& sink, Pacing& pace, DirectoryLister& lister,
                      const ActiveMasks& activeMasks, ScanState& state);

}  // namespace qorvani
