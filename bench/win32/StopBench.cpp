// b5: stop latency. A scan of a big tree starts in the real window; a second thread waits until
// the button reads "停止", lets the walk run for the delay, and clicks the button with real
// input (the pointer moved to its centre, a press and a release). The figure is the time from
// that click to the scan's return, that is, to the report.
#include <atomic>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "BenchWindow.h"
#include "Benchmarks.h"
#include "ScanChecks.h"
#include "common/core/Texts.h"
#include "scan/core/ScanCommand.h"

namespace qorvani::bench {
namespace {

constexpr std::size_t kMaxFolderEntries = 1000;

struct StopRun {
    bool clicked = false;   // the click was sent while the button read "停止"
    bool stopped = false;   // the click came while the scan ran, and the scan ended early
    double latencyMs = 0;   // from the click to the report
    double beforeClickMs = 0;
    std::size_t rows = 0;
};

StopRun OneStop(const std::wstring& root, int delayMs, std::size_t fullRows) {
    BenchWindow window;
    window.CheckAllTypes();
    window.SetPath(root);
    SetForegroundWindow(window.Handle());
    Pump(50);

    HWND button = window.Item(kIdScanButton);
    std::atomic<double> clickedAt{-1.0};
    std::atomic<bool> scanOver{false};
    std::thread clicker([&] {
        const DWORD start = GetTickCount();
        while (InternalText(button) != text::kStopCaption && !scanOver.load()) {
            if (GetTickCount() - start > 10000) return;
            Sleep(1);
        }
        if (delayMs > 0) Sleep(static_cast<DWORD>(delayMs));
        // Only a click on the stop button: once the scan is over it would start another.
        if (scanOver.load() || InternalText(button) != text::kStopCaption) return;
        clickedAt.store(NowMs());
        SendRealClick(button);
    });
    const double start = NowMs();
    ClickFlat(button);
    const double end = NowMs();
    scanOver.store(true);
    clicker.join();
    // A click that came too late must not start a scan: let it reach a disabled button.
    EnableWindow(button, FALSE);
    Pump(50);

    StopRun run;
    run.rows = window.Main().Results().Count();
    const double clicked = clickedAt.load();
    run.clicked = clicked >= 0;
    run.stopped = clicked >= 0 && clicked < end && window.Main().Scan().stopRequested && run.rows < fullRows;
    run.latencyMs = clicked >= 0 ? end - clicked : 0;
    run.beforeClickMs = clicked >= 0 ? clicked - start : end - start;
    return run;
}

}  // namespace

int RunStopBench(int argc, wchar_t** argv) {
    const std::wstring root = WithSeparator(argv[2]);
    const Options options(argc, argv, 3, {L"--runs", L"--delay"});
    const int runs = options.Int(L"--runs", 5);
    const int delayMs = options.Int(L"--delay", 300);
    if (runs < 1 || delayMs < 0) throw BenchError("--runs must be at least 1, --delay not negative");

    const ActiveMasks masks = AllCatalogueMasks();
    const Reference reference = WalkAndCheck(root, masks);

    std::vector<double> latencies, beforeClick;
    std::size_t stopped = 0, clicked = 0, rowsAtStop = 0;
    for (int run = 0; run < runs; ++run) {
        const StopRun result = OneStop(root, delayMs, reference.walk.rows);
        ResultLine("b5-run")
            .Add("run", static_cast<std::uint64_t>(run + 1))
            .Add("stopped", static_cast<std::uint64_t>(result.stopped ? 1 : 0))
            .Add("latency_ms", result.latencyMs)
            .Add("click_after_ms", result.beforeClickMs)
            .Add("rows", static_cast<std::uint64_t>(result.rows))
            .Print(stderr);
        if (result.clicked) ++clicked;
        if (!result.stopped) continue;
        ++stopped;
        latencies.push_back(result.latencyMs);
        beforeClick.push_back(result.beforeClickMs);
        rowsAtStop = result.rows;
    }

    ResultLine("B5")
        .Add("stop_latency_ms", Median(latencies))
        .Add("stopped", static_cast<std::uint64_t>(stopped))
        .Add("clicked_late", static_cast<std::uint64_t>(runs - clicked))  // the scan was over first
        .Add("click_ignored", static_cast<std::uint64_t>(clicked - stopped))
        .Add("click_after_ms", Median(beforeClick))
        .Add("rows_at_stop", static_cast<std::uint64_t>(rowsAtStop))
        .Add("full_rows", static_cast<std::uint64_t>(reference.walk.rows))
        .Add("full_walk_ms", reference.walk.milliseconds)
        .Add("largest_folder", static_cast<std::uint64_t>(reference.walk.largestFolder))
        .Add("folder_limit", static_cast<std::uint64_t>(kMaxFolderEntries))
        .Add("runs", static_cast<std::uint64_t>(runs))
        .Print();
    return 0;
}

}  // namespace qorvani::bench
