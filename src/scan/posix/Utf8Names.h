#pragma once
// File names natively are bytes, mostly UTF-8. They are decoded to wchar_t (UTF-32 here) so
// that every byte string round-trips: a byte that is not part of valid UTF-8 becomes one of
// U+DC80 to U+DCFF (the byte plus 0xDC00), which valid UTF-8 can never give, and turns back
// into that byte when the text is encoded again.
#include <string>
#include <string_view>

namespace qorvani {

// Decodes into out (its storage is reused).
void DecodeFileName(std::string_view bytes, std::wstring& out);
// Encodes into out (its storage is reused). Other lone surrogates, which no decoded name holds,
// are written in the three-byte form; values beyond U+10FFFF as U+FFFD.
void EncodeFileName(std::wstring_view text, std::string& out);

}  // namespace qorvani
