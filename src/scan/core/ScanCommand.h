#pragma once
// The start / stop button: a whole scan runs inside its click; a click while scanning (handled
// nested, while the walk lets events run) only asks the scan to stop.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/core/SlotArray.h"
#include "scan/core/DirectoryLister.h"
#include "scan/core/Walker.h"

namespace qorvani {

inline constexpr wchar_t kStartScanCaption[] = L"开始扫描";
inline constexpr wchar_t kStopCaption[] = L"停止";

// The inputs that a scan disables and enables again.
enum class ScanControl {
    List1, List2,
    FlatCommand4_0, FlatCommand4_1, FlatCommand4_2, FlatCommand4_3,
    FlatCommand1, FlatCommand2, FlatCommand3,
    FlatCommand7, Check1, Text1,
};

class ScanView {
public:
    virtual ~ScanView() = default;
    virtual std::wstring ScanCaption() = 0;                 // the scan button's caption
    virtual void SetScanCaption(std::wstring_view caption) = 0;
    virtual void ClearResults() = 0;                        // List1 rows
    virtual std::size_t ResultCount() = 0;
    virtual void SetResultCaption(std::wstring_view text) = 0;  // Label1
    virtual void SetStatusText(std::wstring_view text) = 0;     // StatusBar1
    virtual void SetEnabled(ScanControl control, bool enabled) = 0;
    virtual bool AllDrivesChecked() = 0;                    // Check1's Value
    virtual std::wstring PathText() = 0;                    // Text1
    virtual void LetPendingEventsRun() = 0;
    virtual std::uint32_t Milliseconds() = 0;               // timeGetTime
};

// The report written into Label1 after a scan.
std::wstring ScanReportText(std::size_t files, std::uint64_t totalBytes,
                            std::uint32_t elapsedMilliseconds);

// FlatCommand6's click. The walk's rows and status go through sink.
void ScanCommandClick(ScanView& view, WalkSink& sink, DirectoryLister& lister,
                      const ActiveMasks& activeMasks, const FixedDrives& fixedDrives,
                      ScanState& state);

}  // namespace qorvani
