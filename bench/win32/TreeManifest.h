#pragma once
// The manifest that qorvani_bench generate writes beside a tree ("size<TAB>path" per match,
// POSIX paths in UTF-8), read as Wine sees the tree through its Z: drive.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace qorvani::bench {

struct ExpectedMatches {
    std::set<std::wstring> paths;     // the matches a Windows walk can reach, as Z:\... paths
    std::uint64_t bytes = 0;          // their total size
    std::size_t beyondMaxPath = 0;    // matches in folders too deep for a MAX_PATH listing
};

// For a root of the form Z:\...: reads root + ".manifest"; nothing when the root is on another
// drive or there is no manifest. Throws BenchError on a malformed line.
std::optional<ExpectedMatches> ReadExpectedMatches(const std::wstring& root);

}  // namespace qorvani::bench
