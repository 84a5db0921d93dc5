#pragma once
// The benchmarks of qorvani_winbench; each prints its result line and gives the exit code.
namespace qorvani::bench {

int RunGuiScanBench(int argc, wchar_t** argv);    // b2
int RunBigListBench(int argc, wchar_t** argv);    // b3
int RunBigListChild(int argc, wchar_t** argv);    // b3-run, one run of b3 in a fresh process
int RunDeleteBench(int argc, wchar_t** argv);     // b4
int RunStopBench(int argc, wchar_t** argv);       // b5

}  // namespace qorvani::bench
