#pragma once
// The drive types that GetDriveTypeW gives and the program decides by (the values of <winbase.h>,
// checked against it in app/win32/SdkValues.cpp).

namespace qorvani {

inline constexpr unsigned kDriveRemovable = 2;  // DRIVE_REMOVABLE
inline constexpr unsigned kDriveFixed = 3;      // DRIVE_FIXED
inline constexpr unsigned kDriveRemote = 4;     // DRIVE_REMOTE

}  // namespace qorvani
