#pragma once
// The fixed drives as the system has them now (a disk attached a moment ago among them), for a
// scan of all drives: the window's and the console programs'.
#include <string>

#include "scan/core/FixedDrives.h"

namespace qorvani {

// Fills drives and text (the roots joined, as the path box shows them).
void DiscoverFixedDrives(FixedDrives& drives, std::wstring& text);

}  // namespace qorvani
