// b3: a big result list. Each run is a fresh process (b3-run), so that the working set before
// the scan holds nothing of an earlier scan: a scan, then "← 全选" and "← 全否" in the real
// window, timed from click to return, the menu's sorts, and the memory figures around the scan:
// the working set, Windows' private bytes, and under Wine (which gives no private bytes) the
// Linux process's RssAnon, each as grown from before the scan to after it, per row.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "BenchWindow.h"
#include "Benchmarks.h"
#include "ScanChecks.h"
#include "common/win32/Handles.h"

namespace qorvani::bench {
namespace {

constexpr DWORD kChildTimeoutMs = 20 * 60 * 1000;

std::wstring OwnPath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

std::wstring Quoted(const std::wstring& text) {
    // A backslash before the closing quote must be doubled, or it would escape the quote.
    std::size_t trailing = 0;
    while (trailing < text.size() && text[text.size() - 1 - trailing] == L'\\') ++trailing;
    return L"\"" + text + std::wstring(trailing, L'\\') + L"\"";
}

// key=value pairs of one line.
std::map<std::string, double> ParseFigures(const std::string& line) {
    std::map<std::string, double> figures;
    std::istringstream words(line);
    std::string word;
    while (words >> word) {
        const std::size_t equals = word.find('=');
        if (equals == std::string::npos) continue;
        figures[word.substr(0, equals)] = std::stod(word.substr(equals + 1));
    }
    return figures;
}

std::map<std::string, double> RunChild(const std::wstring& root, const std::wstring& outFile) {
    DeleteFileW(outFile.c_str());
    std::wstring command = Quoted(OwnPath()) + L" b3-run " + Quoted(root) + L" --out " + Quoted(outFile);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        throw BenchError("cannot start b3-run");
    KernelHandle processHandle(process.hProcess);
    KernelHandle threadHandle(process.hThread);
    if (WaitForSingleObject(process.hProcess, kChildTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        throw BenchError("b3-run did not end in time");
    }
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    if (code != 0) throw BenchError("b3-run failed with exit code " + std::to_string(code));
    std::ifstream in(std::filesystem::path(outFile), std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) throw BenchError("b3-run wrote no figures");
    DeleteFileW(outFile.c_str());
    return ParseFigures(line);
}

bool AllRowsChecked(const ResultStore& rows, bool checked) {
    for (std::size_t i = 0; i < rows.Count(); ++i)
        if (rows.Checked(i) != checked) return false;
    return true;
}

}  // namespace

int RunBigListChild(int argc, wchar_t** argv) {
    const std::wstring root = WithSeparator(argv[2]);
    const Options options(argc, argv, 3, {L"--out"});
    if (!options.Has(L"--out")) throw BenchError("b3-run needs --out FILE");

    const std::wstring outFile = options.Text(L"--out", L"");
    // A name only this run's command line holds.
    const bool underWine = FindOwnLinuxProcess(outFile.substr(outFile.find_last_of(L'\\') + 1));
    BenchWindow window;
    window.CheckAllTypes();
    window.SetPath(root);
    Pump(100);
    const MemoryFigures before = ProcessMemory();
    const double scanMs = window.Scan();
    const MemoryFigures after = ProcessMemory();
    const ResultStore& rows = window.Main().Results();
    const std::size_t count = rows.Count();
    const std::size_t storeBytes = rows.ApproximateBytes();
    const std::uint64_t totalBytes = window.Main().Scan().totalBytes;

    const double allMs = window.Click(kIdCheckAllResultsButton);
    if (!AllRowsChecked(rows, true)) throw BenchError("\u2190 全选 left rows unchecked");
    const double noneMs = window.Click(kIdCheckNoResultsButton);
    if (!AllRowsChecked(rows, false)) throw BenchError("\u2190 全否 left rows checked");
    // The menu's sorts, each with the list painted in its new order.
    std::map<RowOrder, double> sortMs;
    for (RowOrder order : {RowOrder::BySize, RowOrder::ByPath, RowOrder::Found}) {
        const double start = NowMs();
        window.Main().ResultRows().Sort(order);
        UpdateWindow(window.Main().ResultRows().Handle());
        sortMs[order] = NowMs() - start;
        if (rows.Order() != order || rows.Count() != count) throw BenchError("a sort lost rows or its order");
    }
    for (std::size_t i = 1; i < rows.Count(); ++i)
        if (rows.FoundIndex(i) <= rows.FoundIndex(i - 1)) throw BenchError("the order found did not come back");

    ResultLine line("B3RUN");
    line.Add("rows", static_cast<std::uint64_t>(count))
        .Add("bytes", totalBytes)
        .Add("scan_ms", scanMs)
        .Add("select_all_ms", allMs)
        .Add("select_none_ms", noneMs)
        .Add("sort_size_ms", sortMs[RowOrder::BySize])
        .Add("sort_path_ms", sortMs[RowOrder::ByPath])
        .Add("sort_found_ms", sortMs[RowOrder::Found])
        .Add("ws_before", before.workingSet)
        .Add("ws_after", after.workingSet)
        .Add("private_before", before.privateBytes)
        .Add("private_after", after.privateBytes)
        .Add("anon_before", before.linuxAnonymous)
        .Add("anon_after", after.linuxAnonymous)
        .Add("store_bytes", static_cast<std::uint64_t>(storeBytes))
        .Add("linux_process", static_cast<std::uint64_t>(underWine ? 1 : 0));
    line.Print(stderr);
    std::ofstream out(std::filesystem::path(options.Text(L"--out", L"")), std::ios::binary | std::ios::trunc);
    out << line.Text() << '\n';
    out.flush();
    if (!out) throw BenchError("cannot write the figures");
    return 0;
}

int RunBigListBench(int argc, wchar_t** argv) {
    const std::wstring root = WithSeparator(argv[2]);
    const Options options(argc, argv, 3, {L"--runs"});
    const int runs = options.Int(L"--runs", 5);
    if (runs < 1) throw BenchError("--runs must be at least 1");

    const ActiveMasks masks = AllCatalogueMasks();
    const Reference reference = WalkAndCheck(root, masks);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring outFile = std::wstring(temp) + L"qvbench-b3-" + std::to_wstring(GetCurrentProcessId()) + L".txt";

    std::vector<double> sizeSorts, pathSorts, foundSorts;
    std::vector<double> allTimes, noneTimes, wsPerRow, privatePerRow, anonPerRow, storePerRow, scanTimes;
    std::size_t rows = 0;
    bool underWine = true;
    for (int run = 0; run < runs; ++run) {
        auto figures = RunChild(root, outFile);
        underWine = underWine && figures["linux_process"] != 0;
        rows = static_cast<std::size_t>(figures["rows"]);
        if (rows != reference.walk.rows || static_cast<std::uint64_t>(figures["bytes"]) != reference.walk.bytes)
            throw BenchError("the window found " + std::to_string(rows) + " rows, the bare walk " +
                             std::to_string(reference.walk.rows));
        const double perRow = rows != 0 ? 1.0 / static_cast<double>(rows) : 0;
        allTimes.push_back(figures["select_all_ms"]);
        noneTimes.push_back(figures["select_none_ms"]);
        sizeSorts.push_back(figures["sort_size_ms"]);
        pathSorts.push_back(figures["sort_path_ms"]);
        foundSorts.push_back(figures["sort_found_ms"]);
        scanTimes.push_back(figures["scan_ms"]);
        wsPerRow.push_back((figures["ws_after"] - figures["ws_before"]) * perRow);
        privatePerRow.push_back((figures["private_after"] - figures["private_before"]) * perRow);
        anonPerRow.push_back((figures["anon_after"] - figures["anon_before"]) * perRow);
        storePerRow.push_back(figures["store_bytes"] * perRow);
    }

    ResultLine("B3")
        .Add("rows", static_cast<std::uint64_t>(rows))
        .Add("select_all_ms", Median(allTimes))
        .Add("select_none_ms", Median(noneTimes))
        .Add("sort_size_ms", Median(sizeSorts))
        .Add("sort_path_ms", Median(pathSorts))
        .Add("sort_found_ms", Median(foundSorts))
        .Add("ws_bytes_per_row", Median(wsPerRow))
        .Add("private_bytes_per_row", Median(privatePerRow))
        .Add("anon_bytes_per_row", Median(anonPerRow))
        .Add("linux_process", static_cast<std::uint64_t>(underWine ? 1 : 0))
        .Add("store_bytes_per_row", Median(storePerRow))
        .Add("scan_ms", Median(scanTimes))
        .Add("runs", static_cast<std::uint64_t>(runs))
        .Print();
    return 0;
}

}  // namespace qorvani::bench
