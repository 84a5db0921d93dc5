#include "scan/core/ScanCommand.h"

#include "common/core/Texts.h"
#include "scan/core/MaskMatcher.h"
#include "scan/core/NumberText.h"
#include "scan/core/ScanRoots.h"

namespace qorvani {

namespace {

void RunScan(ScanView& view, WalkSink& sink, Pacing& pace, DirectoryLister& lister,
             const ActiveMasks& activeMasks, ScanState& state) {
    view.ClearResults();
    const PacedRun paced(pace);  // from the empty list to the inputs given back
    view.SetResultCaption(text::kScanningCaption);
    state.totalBytes = 0;
    state.stopRequested = false;

    state.scanning = true;  // from here on a click on the button is a stop
    view.SetScanning(true);

    // The disabled inputs and the new caption show before the walk; a click on the button
    // handled here is already a stop request.
    pace.RunWaitingEvents();

    state.startTime = view.Milliseconds();
    const MaskSet masks(activeMasks);
    const bool allDrives = view.AllDrivesChecked();
    const FixedDrives fixedDrives = allDrives ? view.FixedDrivesNow() : FixedDrives();
    const std::vector<std::wstring> roots =
        ScanRoots(allDrives, fixedDrives, view.PathText(), lister.Separator(),
                  [&lister](const std::wstring& path) { return lister.FullPath(path); });
    // A root's folder is walked under its own name only: a mount point of it inside another
    // root is passed over there.
    WalkedFolders walked;
    ReserveVolumeRoots(roots, lister, walked);
    for (const std::wstring& root : roots) {
        ScanFolder(root, lister, masks, sink, pace, state, walked);  // returns at once after a stop request
    }
    // Input is looked at only on entering a folder, and the window's keep-alive leaves it queued:
    // a click made on "停止" while the last folders were listed is still waiting. It runs here,
    // while the scan still counts as running, so it is the stop it was meant as, never the start
    // of another scan that would empty the list.
    pace.RunWaitingEvents();

    view.SetStatusText(text::kCompletionStatus);
    const std::uint32_t elapsed = view.Milliseconds() - state.startTime;  // modulo 2^32
    view.SetResultCaption(ScanReportText(view.ResultCount(), state.totalBytes, elapsed));

    view.ShowFoundRows();
    view.SetScanning(false);
    state.scanning = false;
}

}  // namespace

std::wstring ScanReportText(std::size_t files, std::uint64_t totalBytes,
                            std::uint32_t elapsedMilliseconds) {
    return text::kReportFiles + NumberText(static_cast<std::uint64_t>(files)) + text::kReportBytes +
           NumberText(MegabytesFigure(totalBytes)) + text::kReportSeconds +
           NumberText(SecondsFigure(elapsedMilliseconds)) + text::kReportEnd;
}

void ScanCommandClick(ScanView& view, WalkSink& sink, Pacing& pace, DirectoryLister& lister,
                      const ActiveMasks& activeMasks, ScanState& state) {
    if (state.scanning) {
        state.stopRequested = true;  // the scan further down the stack sees it at its next folder
        return;
    }
    RunScan(view, sink, pace, lister, activeMasks, state);
}

}  // namespace qorvani
