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

namespace {

// The digit of COMn and LPTn: 0-9, or the superscripts 1, 2 and 3 that Windows reserves too.
bool PortDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || c == 0x00B9 || c == 0x00B2 || c == 0x00B3; }

}  // namespace

bool EqualIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

bool ReservedDeviceName(std::wstring_view name) {
    std::wstring_view base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
    if (base.size() == 3)
        return EqualIgnoringAsciiCase(base, L"CON") || EqualIgnoringAsciiCase(base, L"PRN") || EqualIgnoringAsciiCase(base, L"AUX") ||
               EqualIgnoringAsciiCase(base, L"NUL");
    if (base.size() == 4 && PortDigit(base[3]))
        return EqualIgnoringAsciiCase(base.substr(0, 3), L"COM") || EqualIgnoringAsciiCase(base.substr(0, 3), L"LPT");
    return false;
}

}  // namespace qorvani
