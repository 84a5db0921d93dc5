#pragma once
#include <string>
#include <string_view>

namespace qorvani {

// The text up to, not including, its first NUL character; the whole text when it holds none.
inline std::wstring TrimAtNul(std::wstring_view text) {
    const auto nul = text.find(L'\0');
    return std::wstring(nul == std::wstring_view::npos ? text : text.substr(0, nul));
}

}  // namespace qorvani
