#pragma once
// Upper-casing with the system's mapping. Windows: LCMapStringEx with the system default
// locale (scan/win32). Natively: towupper of the C library in a UTF-8 locale, one code point at
// a time (scan/posix); both map each character on its own and keep the length.
#include <string>
#include <string_view>

namespace qorvani {

std::wstring UpperCase(std::wstring_view text);
void UpperCaseInPlace(std::wstring& text);

}  // namespace qorvani
