#include <windows.h>

#include "scan/core/UpperCase.h"

namespace qorvani {

// The system's upper-case mapping (the system default locale's), one character for one.
void UpperCaseInPlace(std::wstring& text) {
    if (text.empty()) return;
    // Plain ASCII names are common; map them directly, which is the same result.
    bool ascii = true;
    for (wchar_t c : text)
        if (c >= 0x80) { ascii = false; break; }
    if (ascii) {
        for (wchar_t& c : text)
            if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
        return;
    }
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
}

}  // namespace qorvani
