#pragma once
// The drive types that GetDriveTypeW gives and the program decides by (the values of <winbase.h>,
// checked against it where the Windows side compiles).

namespace qorvani {

inline constexpr unsigned kDriveRemovable = 2;  // DRIVE_REMOVABLE
inline constexpr unsigned kDriveFixed = 3;      // DRIVE_FIXED
inline constexpr unsigned kDriveRemote = 4;     // DRIVE_REMOTE

}  // namespace qorvani
