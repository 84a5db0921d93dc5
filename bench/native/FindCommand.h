#pragma once
// GNU find as the yardstick: the same masks as -iname patterns, and a bare walk.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qorvani::bench {

struct FoundFiles {
    std::vector<std::pair<std::string, std::uint64_t>> files;  // path, size
    std::uint64_t totalBytes = 0;
};

// A mask of the program's language as an -iname pattern: "#" (one digit) becomes [0-9], a
// backslash (a plain character to the program) is escaped. ?, *, [list] and [!list] mean the
// same to both.
std::string FindPattern(const std::wstring& mask);

// find ROOT -type f \( -iname P1 -o -iname P2 ... \) -printf '%s %p\n'
std::vector<std::string> FindMaskArguments(const std::string& root,
                                           const std::vector<std::wstring>& masks);

// Runs find with the arguments in the C locale and reads "size path" lines from its output.
// Throws std::runtime_error when it cannot be run or does not succeed.
FoundFiles RunFindListing(const std::vector<std::string>& arguments);

// find ROOT > /dev/null
void RunFindBare(const std::string& root);

}  // namespace qorvani::bench
