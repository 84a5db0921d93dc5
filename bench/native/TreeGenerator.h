#pragma once
// Benchmark trees: a deterministic folder tree of tiny files, some of them junk by the
// catalogue's masks, some near misses that must not match, with a manifest of what a scan of all
// 26 masks has to find.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qorvani::bench {

// splitmix64: the same sequence on every compiler and library.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next();
    // Uniform in [0, bound), bound > 0.
    std::uint64_t Below(std::uint64_t bound);
    bool OneIn(std::uint64_t n) { return Below(n) == 0; }

private:
    std::uint64_t state_;
};

struct TreeShape {
    std::uint64_t seed = 1;
    std::size_t folders = 100;  // folders below the root
    std::size_t files = 1000;   // all files, matches included
    std::size_t matches = 100;  // files that match a catalogue mask
    std::size_t sparse = 0;     // matches made large (4 to 8 GiB) and sparse
};

struct ManifestEntry {
    std::uint64_t size = 0;
    std::string path;  // root joined with '/' and the relative path, UTF-8
};

struct Manifest {
    std::size_t folders = 0;
    std::size_t files = 0;
    std::uint64_t totalBytes = 0;       // of the matches
    std::vector<ManifestEntry> matches; // sorted by path
};

// Creates the tree under root (made if missing; must be empty, nothing is ever overwritten or
// removed). Throws std::runtime_error on a bad shape (more matches than files, more sparse files
// than matches) or a failing file operation.
Manifest GenerateTree(const std::string& root, const TreeShape& shape);

// "size<TAB>path" per match, sorted by path. Throws std::runtime_error when it cannot be written.
void WriteManifest(const Manifest& manifest, const std::string& file);

}  // namespace qorvani::bench
