#pragma once
// Folders that the system shows to this program under a name that is not theirs. The 32-bit
// program on 64-bit Windows lists <windir>\SysWOW64 when it asks for <windir>\System32 (and
// <windir>\lastgood\SysWOW64 for <windir>\lastgood\system32): a row made there would name a file
// other than the one listed, and a delete by that name would hit the wrong file. The walk passes
// such folders, and every folder below them, over like folders that cannot be listed; the
// subfolders that the system leaves alone (drivers\etc, spool, ...) are walked if named.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorvani {

class RedirectedFolders {
public:
    // folder: a Windows path, with or without its final '\'.
    void AddRedirected(std::wstring_view folder);
    void AddExempt(std::wstring_view folder);
    bool Empty() const { return redirected_.empty(); }

    // True when folderPath names a redirected folder or one below it that is not exempt.
    // Compared as Windows compares paths: letters in either case, '/' for '\', repeated
    // separators, "." and ".." steps and the dots and spaces that end a name make no difference.
    bool Covers(std::wstring_view folderPath) const;

private:
    std::vector<std::wstring> redirected_;  // canonical keys, ending in '\'
    std::vector<std::wstring> exempt_;
};

// The canonical form of a Windows path used for the comparison: upper-cased, '\' between names,
// "." and ".." steps resolved, names cut of their final dots and spaces, ending in '\'.
std::wstring CanonicalFolderKey(std::wstring_view path);

// Whether this process runs under WoW64, from what the system answered. processMachine is
// IsWow64Process2's answer where that function exists and succeeded (IMAGE_FILE_MACHINE_UNKNOWN,
// 0, for a process that runs natively); isWow64 is IsWow64Process's, asked only where the former
// cannot answer. IsWow64Process says FALSE to an x86 program on 64-bit Windows on ARM, where the
// redirector applies all the same.
bool RunsUnderWow64(std::optional<std::uint16_t> processMachine, std::optional<bool> isWow64);

// The folders redirected for a 32-bit program on 64-bit Windows, from the Windows folder and the
// system folder (<windir>\System32) as the system names them.
RedirectedFolders Wow64RedirectedFolders(std::wstring_view windowsFolder, std::wstring_view systemFolder);

}  // namespace qorvani
