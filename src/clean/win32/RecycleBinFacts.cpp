#include "clean/win32/RecycleBinFacts.h"

#include <shellapi.h>

#include <vector>

#include "clean/core/DeleteCommand.h"
#include "common/win32/Handles.h"

namespace qorvani {

namespace {

constexpr wchar_t kPoliciesKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr wchar_t kBinVolumesKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\";

// A DWORD value, or nothing when the key or the value is not there or is of another type.
std::optional<DWORD> ReadDword(HKEY hive, const std::wstring& subkey, const wchar_t* name, REGSAM view = 0) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(hive, subkey.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) return std::nullopt;
    const RegistryKey key(opened);
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return value;
}

bool PolicySet(HKEY hive, REGSAM view) {
    const std::optional<DWORD> value = ReadDword(hive, kPoliciesKey, L"NoRecycleFiles", view);
    return value && *value != 0;
}

// The final path of an open folder, or empty.
std::wstring FinalPathOf(HANDLE handle) {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);  // the length it needs, with its NUL
    }
    return {};
}

// The volume root of a path as it is written, or empty.
std::wstring VolumePathOf(const std::wstring& path) {
    std::vector<wchar_t> root(path.size() + MAX_PATH + 1);
    if (!GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size()))) return {};
    return root.data();
}

}  // namespace

BinFacts RecycleBinFacts::Of(const std::wstring& path) {
    if (!policyOff_) {
        // The machine's policy is read in both registry views: a 32-bit program on 64-bit
        // Windows would otherwise see only the 32-bit one.
        policyOff_ = PolicySet(HKEY_CURRENT_USER, 0) || PolicySet(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY) ||
                     PolicySet(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY);
    }
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    auto known = roots_.find(folder);
    if (known == roots_.end()) known = roots_.emplace(folder, VolumeRootOf(folder)).first;
    const std::wstring& root = known->second;
    BinFacts facts;
    if (root.empty()) {
        facts.exists = false;  // no volume to ask: nothing says that a bin would take the file
    } else {
        auto volume = volumes_.find(root);
        if (volume == volumes_.end()) volume = volumes_.emplace(root, ReadVolume(root)).first;
        facts = volume->second;
    }
    facts.policyOff = *policyOff_;
    return facts;
}

std::wstring RecycleBinFacts::VolumeRootOf(const std::wstring& folder) {
    // The folder, not the file: the shell recycles a link itself, where the link lies, and a
    // folder serves every row in it. Opened for no access, it needs no right to its contents.
    const KernelHandle opened(CreateFileW(LookupForm(folder).c_str(), 0,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (opened.Valid()) {
        std::wstring finalPath = FinalPathOf(opened.Get());
        if (!finalPath.empty()) {
            if (finalPath.back() != L'\\') finalPath.push_back(L'\\');
            const std::wstring root = VolumePathOf(finalPath);
            if (!root.empty()) return PlainVolumeRoot(root);
        }
    }
    // The folder could not be opened or resolved: its path as written is all there is to go by.
    const std::wstring root = VolumePathOf(LookupForm(folder));
    return root.empty() ? root : PlainVolumeRoot(root);
}

BinFacts RecycleBinFacts::ReadVolume(const std::wstring& root) {
    BinFacts facts;
    SHQUERYRBINFO bin{};
    bin.cbSize = sizeof bin;
    const bool answers = SUCCEEDED(SHQueryRecycleBinW(root.c_str(), &bin));
    facts.exists = VolumeTakesRecycling(GetDriveTypeW(root.c_str()), answers);
    wchar_t volume[64] = {};
    if (GetVolumeNameForVolumeMountPointW(root.c_str(), volume, 64)) {
        const std::wstring guid = VolumeGuidOf(volume);
        if (!guid.empty()) {
            const std::wstring key = kBinVolumesKey + guid;
            if (const auto nuke = ReadDword(HKEY_CURRENT_USER, key, L"NukeOnDelete")) facts.turnedOff = *nuke != 0;
            if (const auto megabytes = ReadDword(HKEY_CURRENT_USER, key, L"MaxCapacity"))
                facts.maxBytes = std::uint64_t{*megabytes} * kBinCapacityUnit;
        }
    }
    return facts;
}

}  // namespace qorvani
