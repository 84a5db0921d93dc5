#pragma once
// The folder walk: depth first in listing order, every file whose upper-cased name matches one
// of the active masks is handed to the sink with its size.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/core/Pacing.h"
#include "scan/core/DirectoryLister.h"
#include "scan/core/MaskMatcher.h"

namespace qorvani {

// What the walk tells the window. The window keeps the screen live at its own pace: ShowFolder
// and AppendMatch must be cheap (store, do not paint). The walk paces itself through the same
// object: a Step at every entry listed, an InputPoint on entering each folder (after ShowFolder).
class WalkSink : public virtual Pacing {
public:
    // Entering a folder: the status text becomes "正在扫描：" + path.
    virtual void ShowFolder(const std::wstring& path) = 0;
    // A matched file: folder as walked (ends in the separator), the name exactly as listed (its
    // display form, upper-cased as tested, is made from it when shown), and its size in bytes.
    virtual void AppendMatch(const std::wstring& folder, std::wstring_view name, std::uint64_t size) = 0;
};

// Shared scan state, owned by the main window.
struct ScanState {
    bool scanning = false;         // from the click that starts a scan until its inputs are back
    bool stopRequested = false;
    std::uint64_t totalBytes = 0;  // ScanTotalBytes
    std::uint32_t startTime = 0;
};

// Walks path (which ends in the lister's separator). Reads state.stopRequested on entering each
// folder and adds every listed file's size to state.totalBytes.
void ScanFolder(const std::wstring& path, DirectoryLister& lister, const MaskSet& masks,
                WalkSink& sink, ScanState& state);

}  // namespace qorvani
