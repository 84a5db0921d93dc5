#pragma once
// The folder walk: depth first in listing order, every file whose upper-cased name matches one
// of the active masks is handed to the sink with its size.
#include <cstdint>
#include <string>
#include <string_view>

#include "scan/core/DirectoryLister.h"
#include "scan/core/MaskMatcher.h"

namespace qorvani {

// What the walk tells the window. The window keeps the screen live at its own pace: ShowFolder
// and AppendMatch must be cheap (store, do not paint).
class WalkSink {
public:
    virtual ~WalkSink() = default;
    // Entering a folder: the status text becomes "正在扫描：" + path.
    virtual void ShowFolder(const std::wstring& path) = 0;
    // Entering a folder, after ShowFolder: handle waiting input if the system reports any
    // (the window looks at its queue at a pace of its own).
    virtual void LetWaitingInputRun() = 0;
    // Each entry listed: cheap; lets the window keep itself responsive by its clock, never
    // running input here.
    virtual void Pace() {}
    // A matched file: folder as walked (ends in the separator), the name exactly as listed,
    // the name upper-cased as tested, and its size in bytes.
    virtual void AppendMatch(const std::wstring& folder, std::wstring_view name,
                             std::wstring_view upperName, std::uint64_t size) = 0;
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
