#pragma once
// What Windows can name by path. The walk asks it before it opens a listed folder by its name, and
// the delete before it hands a path to the shell: a name that breaks these rules would name
// another file, or none.
#include <string_view>

namespace qorvani {

// No path can hold it: the wildcards, '"', '<', '>', '|', a control character, or U+FFFD, which
// stands in a listed name for bytes the system could not decode (the path would then name a file
// whose name really holds U+FFFD, or another undecodable one).
bool ForbiddenInPath(wchar_t c);
// The letters a-z as A-Z, every other character as it is.
inline wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }
// The same name when only the letters a-z and A-Z are told apart by case. It is how Windows compares
// the names it reserves (devices, file systems, its own folders); other letters it compares by its
// own case table, which no platform-free code has.
bool EqualIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);
// No file name can hold it: what no path can, and the separators and ':'.
bool ForbiddenInName(wchar_t c);
// Windows drops a trailing dot or space of a name, so "a.\b" would name "a\b".
bool EndsInSpaceOrDot(std::wstring_view name);
// A listed folder that the walk can open through its path. Wine lists a Linux folder whose name
// ends in a space, or holds ':', and opens it by that name; a trailing dot it drops as Windows does.
bool FolderNameListable(std::wstring_view name);
// A name that a Win32 path opens as a device, not as a file: CON, PRN, AUX, NUL, COM0-COM9,
// LPT0-LPT9 and COM/LPT with a superscript 1, 2 or 3, in any case, alone or before a dot (any
// extension: "NUL.tmp", "aux.bak"), with or without spaces after it ("CON .old", "nul  ").
// Windows cuts a name at its first dot and drops the spaces before the cut to find a device, so a
// name whose part before the first dot is such a name, less trailing spaces, is one of them.
bool ReservedDeviceName(std::wstring_view name);

}  // namespace qorvani
