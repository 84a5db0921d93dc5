#pragma once
// The masks a scan looks for, upper-cased, in the type list's order (the checked rows, top to
// bottom); a found file's mask is its position here.
#include <string>
#include <vector>

namespace qorvani {

using ActiveMasks = std::vector<std::wstring>;

}  // namespace qorvani
