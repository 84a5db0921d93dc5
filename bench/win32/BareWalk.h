#pragma once
// The floor for a scan in the window: the same walk (the project's ScanFolder, Win32Lister and
// MaskSet) with a sink that shows nothing, keeps nothing and never looks at the message queue.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "scan/core/ActiveMasks.h"

namespace qorvani::bench {

struct WalkFigures {
    double milliseconds = 0;
    std::size_t rows = 0;
    std::uint64_t bytes = 0;
    std::size_t folders = 0;          // folders entered
    std::size_t largestFolder = 0;    // most entries in one listing ("." and ".." left out)
};

// root ends in "\". With paths != nullptr the full path of every match is collected too (not
// for timed runs).
WalkFigures BareWalk(const std::wstring& root, const ActiveMasks& masks, std::set<std::wstring>* paths = nullptr);

}  // namespace qorvani::bench
