#pragma once
// Whether the Recycle Bin takes a file, decided before the file is sent: the shell, asked to
// recycle, destroys without a word what its bin will not take. The facts of a volume's bin are
// read on the Windows side (RecycleBinFacts); the decision is here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qorvani {

// What is known of the Recycle Bin of the volume a file lives on.
struct BinFacts {
    bool exists = true;        // the volume has a bin (VolumeTakesRecycling)
    bool turnedOff = false;    // the volume's bin is set to "Don't move files to the Recycle Bin" (NukeOnDelete)
    bool policyOff = false;    // the NoRecycleFiles policy, for the user or the machine
    std::optional<std::uint64_t> maxBytes;  // the bin's maximum size (MaxCapacity), when it is known
};

// Why the bin will not take a file, or None when it will (as far as can be told beforehand).
enum class BinRefusal { None, NoBin, TurnedOff, Policy, TooLarge };

// fileBytes: the file's size, when it is known. A bin whose maximum is not known, or a file whose
// size is not, is taken to fit: what the shell then says of the file tells the rest.
BinRefusal WhyBinRefuses(const BinFacts& bin, std::optional<std::uint64_t> fileBytes);

// Whether files of a volume go into the Recycle Bin: binAnswers is the bin's own answer for the
// volume (SHQueryRecycleBinW). Removable drives, CDs and RAM disks have none whatever it says; a
// fixed or network drive has one when the bin answers for it.
bool VolumeTakesRecycling(unsigned driveType, bool binAnswers);

// MaxCapacity counts megabytes of 2^20 bytes.
inline constexpr std::uint64_t kBinCapacityUnit = 1024 * 1024;

// The volume root that a final path (GetFinalPathNameByHandleW, GetVolumePathNameW on it) gives,
// in the form the bin's calls take: "\\?\C:\" -> "C:\", "\\?\UNC\server\share\" ->
// "\\server\share\". Any other form (a volume GUID path) is returned as it is, with a
// trailing separator.
std::wstring PlainVolumeRoot(std::wstring_view root);

// The "{GUID}" of a volume name that GetVolumeNameForVolumeMountPointW gives
// ("\\?\Volume{GUID}\"): the name of the volume's key under BitBucket\Volume. Empty when the
// name has no such form.
std::wstring VolumeGuidOf(std::wstring_view volumeName);

// What became of a file that was sent to the Recycle Bin, as the shell tells it: Untold where the
// shell gives no word (SHFileOperationW; a call that failed).
enum class SentFate { Untold, Recycled, Destroyed };

}  // namespace qorvani
