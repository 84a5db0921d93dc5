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
// No file name can hold it: what no path can, and the separators and ':'.
bool ForbiddenInName(wchar_t c);
// Windows drops a trailing dot or space of a name, so "a.\b" would name "a\b".
bool EndsInSpaceOrDot(std::wstring_view name);
// A listed folder that the walk can open through its path. Wine lists a Linux folder whose name
// ends in a space, or holds ':', and opens it by that name; a trailing dot it drops as Windows does.
bool FolderNameListable(std::wstring_view name);

}  // namespace qorvani
