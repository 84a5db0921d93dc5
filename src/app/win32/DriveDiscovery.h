#pragma once
// The fixed drives as the system lists them now (GetLogicalDriveStringsW), each described by its
// type, whether it is a subst letter, and its volume.
#include <string>

#include "app/core/FixedDrives.h"

namespace qorvani {

// Fills drives (slot 1 on) and text (joined, no separator) with the fixed drives found now.
void DiscoverFixedDrives(FixedDrives& drives, std::wstring& text);

}  // namespace qorvani
