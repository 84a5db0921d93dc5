#include <cwctype>

#include "scan/core/UpperCase.h"

namespace qorvani {

// towupper of the C library, one character for one. Its mapping is the LC_CTYPE locale's: in
// the "C" locale it maps the ASCII letters only, so a program (or test) that wants the full
// mapping sets a UTF-8 locale such as "C.UTF-8" first. ASCII is mapped directly, which is the
// same result in every locale but the Turkish ones and much faster.
void UpperCaseInPlace(std::wstring& text) {
    for (wchar_t& c : text) {
        if (c < 0x80) {
            if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
        } else {
            c = static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
        }
    }
}

}  // namespace qorvani
