#pragma once
// The console programs' walk: the window's walk over the roots the command line names, with its
// rules (each folder once, the system's folders never walked, the catalogue's masks), and the
// console's own selection on top: an age rule and folders passed over.
#include <cstdint>
#include <functional>
#include <string>

#include "cli/core/CliArguments.h"
#include "cli/core/ReportText.h"
#include "scan/core/ActiveMasks.h"
#include "scan/core/DirectoryLister.h"
#include "scan/core/FixedDrives.h"

namespace qorvani {

// What the console scan needs of the console and the system.
class ConsoleScanView {
public:
    virtual ~ConsoleScanView() = default;
    virtual std::uint32_t Milliseconds() = 0;  // a steady clock
    virtual std::uint64_t NowTicks() = 0;      // the time now, FILETIME ticks, UTC
    virtual bool StopRequested() = 0;          // Ctrl+C or Ctrl+Break since the start
    // Progress, about every kProgressMilliseconds, to a console only (the view decides).
    virtual void ShowProgress(std::uint64_t folders, std::uint64_t files) = 0;
    // The fixed drives now, asked once, for --all-drives only.
    virtual FixedDrives FixedDrivesNow() = 0;
};

inline constexpr std::uint32_t kProgressMilliseconds = 250;

// The age a file must have to be selected: --older-than, or for an unattended clean (clean
// --yes) without it, one day, so that nothing written in the last 24 hours goes.
std::optional<std::uint32_t> SelectionAgeDays(const CliRequest& request);

struct ScanOutcome {
    ScanSummary summary;
    bool nothingRead = false;  // not one root could be listed
    // Files that matched but were kept by the default age of an unattended clean.
    std::uint64_t keptAsRecent = 0;
};

// Walks the request's roots and hands each selected file to found, in the walk's order.
ScanOutcome RunConsoleScan(const CliRequest& request, DirectoryLister& lister, ConsoleScanView& view,
                           const std::function<void(const FoundRecord&)>& found);

}  // namespace qorvani
