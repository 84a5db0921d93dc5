#pragma once
// Fixed-drive discovery over the drive-string buffer that GetLogicalDriveStringsW fills.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/core/DriveTypes.h"

namespace qorvani {

// The roots of the fixed drives that a scan of all drives walks (each as "C:\" is), in the
// system's order.
using FixedDrives = std::vector<std::wstring>;

// The root texts in the buffer before its first pair of NULs, each ended by its own NUL; the
// last entry is taken too, even when the buffer ends without the closing NUL.
std::vector<std::wstring> DriveStrings(std::wstring_view buffer);

// What the system says of one drive root.
struct DriveFacts {
    unsigned type = 0;         // GetDriveTypeW
    bool substituted = false;  // a subst letter: QueryDosDeviceW names a folder, not a device
    std::wstring volume;       // the volume's own name (\\?\Volume{...}\); empty when unknown
};

// Fills drives and text (joined, no separator) with the entries whose type is fixed,
// leaving out subst letters (another name of a folder) and a second letter of a volume already
// taken: each volume is walked once, under its first letter.
void CollectFixedDrives(std::wstring_view buffer, const std::function<DriveFacts(const std::wstring&)>& facts,
                        FixedDrives& drives, std::wstring& text);
// The same, by drive type alone.
void CollectFixedDrives(std::wstring_view buffer, const std::function<unsigned(const std::wstring&)>& driveType,
                        FixedDrives& drives, std::wstring& text);

}  // namespace qorvani
