// qorvani_winbench: the benchmarks that need the real window, under Windows or Wine.
//   b2 ROOT [--runs R]                        a scan in the window against a bare walk
//   b3 ROOT [--runs R]                        select-all / select-none and memory per row
//   b4 WORKFOLDER [--runs R] [--files N]      deleting checked files against bare shell calls
//   b5 ROOT [--runs R] [--delay MS]           from a real stop click to the report
// Each prints one result line of key=value figures, each the median of the runs.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "BenchSupport.h"
#include "Benchmarks.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: qorvani_winbench b2 ROOT [--runs R]\n"
                 "       qorvani_winbench b3 ROOT [--runs R]\n"
                 "       qorvani_winbench b4 WORKFOLDER [--runs R] [--files N]\n"
                 "       qorvani_winbench b5 ROOT [--runs R] [--delay MS]\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace qorvani::bench;
    if (argc < 3) return Usage();
    const std::wstring command = argv[1];
    try {
        if (command == L"b2") return RunGuiScanBench(argc, argv);
        if (command == L"b3") return RunBigListBench(argc, argv);
        if (command == L"b3-run") return RunBigListChild(argc, argv);
        if (command == L"b4") return RunDeleteBench(argc, argv);
        if (command == L"b5") return RunStopBench(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qorvani_winbench %s FAILED: %s\n", Utf8(command).c_str(), error.what());
        return 1;
    }
    return Usage();
}
