#pragma once
// b1: the program's folder walk with all 26 masks against find with the same masks and against
// a bare find, on one tree, side by side.
#include <string>

namespace qorvani::bench {

struct WalkBenchmarkOptions {
    std::string root;
    int runs = 5;
    std::string cataloguePath;
};

// Prints the table; the result is the exit code: 0, or 1 when the walks disagree.
int RunWalkBenchmark(const WalkBenchmarkOptions& options);

}  // namespace qorvani::bench
