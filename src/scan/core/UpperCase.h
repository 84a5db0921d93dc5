#pragma once
// Upper-casing with the system's mapping. Windows: CharUpperBuffW (scan/win32). Natively: towupper
// of the C library in a UTF-8 locale, one code point at a time (scan/posix). Both map each
// character on its own and keep the length.
#include <string>
#include <string_view>

namespace qorvani {

// The platform's half: the text upper-cased where it stands.
void UpperCaseInPlace(std::wstring& text);

inline std::wstring UpperCase(std::wstring_view text) {
    std::wstring result(text);
    UpperCaseInPlace(result);
    return result;
}

}  // namespace qorvani
