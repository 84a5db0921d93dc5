#pragma once
// The floors for a scan in the window: plain recursions that list each folder once and test each
// file's upper-cased name against the same masks, keeping nothing and never looking at the message
// queue, one listing with the call the walk uses (GetFileInformationByHandleEx with
// FileIdBothDirectoryInfo records, into one 64 KiB buffer reused for every folder), one with
// FindFirstFileExW. And the reference walk: the project's own walk with a sink that counts.
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
// for timed runs). The project's walk (ScanFolder, Win32Lister, MaskSet).
WalkFigures BareWalk(const std::wstring& root, const ActiveMasks& masks, std::set<std::wstring>* paths = nullptr);

enum class FloorListing { ByHandle, FindFirst };
// A plain recursion over root, listing with the given call. Like the walk, it leaves out folders
// whose listing pattern would reach MAX_PATH and folder names no path can take.
WalkFigures FloorWalk(const std::wstring& root, const ActiveMasks& masks, FloorListing listing);

}  // namespace qorvani::bench
