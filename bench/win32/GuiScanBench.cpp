// b2: a full scan in the real window (from the start click to its return, which is the report)
// against the two bare walks of the same tree with the same masks (one listing as the walk does,
// one with FindFirstFileExW), side by side in every run: the window is judged against the faster.
#include <algorithm>
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

    std::vector<double> guiTimes, bareTimes, findTimes, floorTimes, ratios, repaints, repaintRates;
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
    auto bareRun = [&](FloorListing listing) {
        const WalkFigures walk = FloorWalk(root, masks, listing);
        if (walk.rows != reference.walk.rows || walk.bytes != reference.walk.bytes)
            throw BenchError("a bare walk found other results than the warm-up");
        return walk.milliseconds;
    };

    guiRun(true);  // warm-up, and the full check of the window's rows
    repaints.clear();
    repaintRates.clear();
    for (int run = 0; run < runs; ++run) {
        // Rotate the order, so that no side always runs on a cache another one warmed.
        double gui = 0, bare = 0, find = 0;
        switch (run % 3) {
        case 0:
            gui = guiRun(false);
            bare = bareRun(FloorListing::ByHandle);
            find = bareRun(FloorListing::FindFirst);
            break;
        case 1:
            bare = bareRun(FloorListing::ByHandle);
            find = bareRun(FloorListing::FindFirst);
            gui = guiRun(false);
            break;
        default:
            find = bareRun(FloorListing::FindFirst);
            gui = guiRun(false);
            bare = bareRun(FloorListing::ByHandle);
            break;
        }
        const double floor = std::min(bare, find);
        guiTimes.push_back(gui);
        bareTimes.push_back(bare);
        findTimes.push_back(find);
        floorTimes.push_back(floor);
        ratios.push_back(floor > 0 ? gui / floor : 0);
        ResultLine("b2-run")
            .Add("run", static_cast<std::uint64_t>(run + 1))
            .Add("gui_scan_ms", gui)
            .Add("bare_walk_ms", bare)
            .Add("find_walk_ms", find)
            .Add("ratio", ratios.back(), 3)
            .Add("repaints", repaints.back(), 0)
            .Print(stderr);
    }

    ResultLine("B2")
        .Add("gui_scan_ms", Median(guiTimes))
        .Add("bare_walk_ms", Median(bareTimes))
        .Add("find_walk_ms", Median(findTimes))
        .Add("floor_ms", Median(floorTimes))
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
