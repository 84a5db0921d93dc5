#pragma once
// Fitting a long path into a narrow list column with the middle left out, so that its file name
// still shows: "Z:\work\...\Downloads\old.tmp" rather than "Z:\work\...\Downloads\ol...".
#include <functional>
#include <string>
#include <string_view>

namespace qorvani {

inline constexpr wchar_t kElision[] = L"...";

// The text as it fits into width (measure gives a text's width): the text itself when it fits;
// else its beginning, "..." and its last name with the separator before it, keeping as much of
// the beginning as fits; else, when even "...\name" is too wide, "..." and as much of the end
// as fits (a file name's end holds its type).
std::wstring ElidePath(std::wstring_view text, int width, const std::function<int(std::wstring_view)>& measure);

}  // namespace qorvani
