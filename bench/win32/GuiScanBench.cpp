// b2: a full scan in the real window (from the start click to its return, which is the report)
// against the bare walk of the same tree with the same masks, side by side in every run.
#include <vector>

#include "BareWalk.h"
#include "BenchSupport.h"
#include "BenchWindow.h"
#include "Benchmarks.h"
#include "ScanChecks.h"

namespace qorvani::bench {

int RunGuiScanBench(int argc, wchar_t** argv) {
    const std::wstring root = WithSeparator(argv[2]);
    const Options options(argc, argv, 3, {L"--runs"});
    const int runs = options.Int(L"--runs", 5);
    if (runs < 1) throw BenchError("--runs must be at least 1");

    const ActiveMasks masks = AllCatalogueMasks();
    const Reference reference = WalkAndCheck(root, masks);

    std::vector<double> guiTimes, bareTimes, ratios, repaints, repaintRates;
    std::size_t rows = 0;
    auto guiRun = [&](bool check) {
        BenchWindow window;
        window.CheckAllTypes();
        window.SetPath(root);
        Pump(20);
        const double ms = window.Scan();
        const MainWindow& main = window.Main();
        if (check) CheckRows(main.Results(), main.Scan().totalBytes, reference, "the window");
        else if (main.Results().Count() != reference.walk.rows || main.Scan().totalBytes != reference.walk.bytes)
            throw BenchError("a scan in the window found other results than the warm-up");
        rows = main.Results().Count();
        const double count = static_cast<double>(main.LiveRefreshCount());
        repaints.push_back(count);
        repaintRates.push_back(ms > 0 ? count * 1000.0 / ms : 0);
        return ms;
    };
    auto bareRun = [&] {
        const WalkFigures walk = BareWalk(root, masks);
        if (walk.rows != reference.walk.rows || walk.bytes != reference.walk.bytes)
            throw BenchError("a bare walk found other results than the warm-up");
        return walk.milliseconds;
    };

    guiRun(true);  // warm-up, and the full check of the window's rows
    repaints.clear();
    repaintRates.clear();
    for (int run = 0; run < runs; ++run) {
        // Alternate the order, so that neither side always runs on a cache the other warmed.
        double gui = 0, bare = 0;
        if (run % 2 == 0) {
            gui = guiRun(false);
            bare = bareRun();
        } else {
            bare = bareRun();
            gui = guiRun(false);
        }
        guiTimes.push_back(gui);
        bareTimes.push_back(bare);
        ratios.push_back(bare > 0 ? gui / bare : 0);
        ResultLine("b2-run")
            .Add("run", static_cast<std::uint64_t>(run + 1))
            .Add("gui_scan_ms", gui)
            .Add("bare_walk_ms", bare)
            .Add("ratio", ratios.back(), 3)
            .Add("repaints", repaints.back(), 0)
            .Print(stderr);
    }

    ResultLine("B2")
        .Add("gui_scan_ms", Median(guiTimes))
        .Add("bare_walk_ms", Median(bareTimes))
        .Add("ratio", Median(ratios), 3)
        .Add("repaints", Median(repaints), 0)
        .Add("repaints_per_s", Median(repaintRates))
        .Add("rows", static_cast<std::uint64_t>(rows))
        .Add("folders", static_cast<std::uint64_t>(reference.walk.folders))
        .Add("bytes", reference.walk.bytes)
        .Add("manifest", reference.manifestChecked ? std::string("checked") : std::string("none"))
        .Add("beyond_max_path", static_cast<std::uint64_t>(reference.beyondMaxPath))
        .Add("runs", static_cast<std::uint64_t>(runs))
        .Print();
    return 0;
}

}  // namespace qorvani::bench
