#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "clean/core/RecycleBin.h"

namespace qorvani {

// The facts of the Recycle Bin that would take a file, as one delete pass needs them: the volume
// that the file's folder really lies on (through junctions and symbolic links: its final path),
// whether that volume has a bin (SHQueryRecycleBinW and its drive type), whether its bin is
// turned off or how large it may grow (the volume's key under BitBucket\Volume, by its GUID), and
// the NoRecycleFiles policy. Each folder is resolved once, each volume read once, the policy once.
class RecycleBinFacts {
public:
    BinFacts Of(const std::wstring& path);

private:
    std::wstring VolumeRootOf(const std::wstring& folder);
    BinFacts ReadVolume(const std::wstring& root);

    std::optional<bool> policyOff_;
    std::map<std::wstring, std::wstring> roots_;  // by folder
    std::map<std::wstring, BinFacts> volumes_;    // by volume root
};

}  // namespace qorvani
