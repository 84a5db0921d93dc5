#include "app/win32/DriveDiscovery.h"

#include <windows.h>

#include <string_view>

namespace qorvani {
namespace {

DriveFacts DescribeDrive(const std::wstring& root) {
    DriveFacts facts;
    facts.type = GetDriveTypeW(root.c_str());
    // A subst letter's device is a folder path in the NT namespace ("\??\C:\Work").
    wchar_t device[MAX_PATH + 1] = {};
    if (root.size() >= 2 && QueryDosDeviceW(root.substr(0, 2).c_str(), device, MAX_PATH + 1) != 0)
        facts.substituted = std::wstring_view(device).substr(0, 4) == L"\\??\\";
    wchar_t volume[64] = {};
    if (GetVolumeNameForVolumeMountPointW(root.c_str(), volume, 64)) facts.volume = volume;
    return facts;
}

}  // namespace

void DiscoverFixedDrives(FixedDrives& drives, std::wstring& text) {
    std::wstring buffer(255, L'\0');
    GetLogicalDriveStringsW(255, buffer.data());
    CollectFixedDrives(buffer, DescribeDrive, drives, text);
}

}  // namespace qorvani
