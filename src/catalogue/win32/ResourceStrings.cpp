#include "catalogue/win32/ResourceStrings.h"

namespace qorvani {

std::wstring ResourceStrings::Load(unsigned id) {
    // With a zero length LoadStringW hands out a read-only pointer to the resource itself.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(instance_, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return std::wstring();
    return std::wstring(text, static_cast<std::size_t>(length));
}

}  // namespace qorvani
