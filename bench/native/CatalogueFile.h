#pragma once
// The 26 catalogue masks, read from the program's own string table source (catalogue.rc), so
// that the benchmark scans for exactly what the program ships.
#include <string>
#include <vector>

namespace qorvani::bench {

// catalogue.rc beside this source tree (bench/native/../../src/catalogue/win32).
std::string DefaultCataloguePath();

// The masks with ids 101 to 126, in id order, as stored. Throws std::runtime_error when the file
// cannot be read or an id is missing.
std::vector<std::wstring> ReadCatalogueMasks(const std::string& rcPath);

}  // namespace qorvani::bench
