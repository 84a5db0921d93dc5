#pragma once
// What the scan benchmarks share: the 26 masks as the window activates them, and the check that
// the window, the bare walk and the tree's manifest agree on what a full scan finds.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "BareWalk.h"
#include "checklist/core/ResultStore.h"
#include "scan/core/ActiveMasks.h"

namespace qorvani::bench {

// The masks that "全选 ↑" activates in a fresh window.
ActiveMasks AllCatalogueMasks();

struct Reference {
    WalkFigures walk;                 // the untimed warm-up walk
    std::set<std::wstring> paths;     // every match it found
    std::size_t beyondMaxPath = 0;    // manifest matches no Windows listing can reach
    bool manifestChecked = false;
};

// Warms the tree up with one bare walk and checks it against the manifest beside the tree (when
// there is one). Throws BenchError on a difference or when the walk finds nothing.
Reference WalkAndCheck(const std::wstring& root, const ActiveMasks& masks);

// Throws BenchError unless the window's rows are exactly the reference's files and bytes.
void CheckRows(const ResultStore& rows, std::uint64_t totalBytes, const Reference& reference, const char* who);

}  // namespace qorvani::bench
