#include "scan/core/WindowsNames.h"

namespace qorvani {

bool ForbiddenInPath(wchar_t c) {
    switch (c) {
    case L'*': case L'?': case L'"': case L'<': case L'>': case L'|':
    case 0xFFFD:
        return true;
    default:
        return c < 0x20;
    }
}

bool ForbiddenInName(wchar_t c) { return c == L'\\' || c == L'/' || c == L':' || ForbiddenInPath(c); }

bool EndsInSpaceOrDot(std::wstring_view name) {
    return !name.empty() && (name.back() == L' ' || name.back() == L'.');
}

bool FolderNameListable(std::wstring_view name) {
    if (name.empty() || name.back() == L'.') return false;
    for (wchar_t c : name)
        if (c == L'\\' || c == L'/' || ForbiddenInPath(c)) return false;
    return true;
}

}  // namespace qorvani
