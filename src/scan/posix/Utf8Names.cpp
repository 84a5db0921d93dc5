#include "scan/posix/Utf8Names.h"

#include <cstdint>

namespace qorvani {

static_assert(sizeof(wchar_t) == 4, "the native build holds one code point per wchar_t");

namespace {

constexpr char32_t kEscapeBase = 0xDC00;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

void DecodeFileName(std::string_view bytes, std::wstring& out) {
    out.resize(bytes.size());  // never longer than the bytes
    std::size_t length = 0;
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out[length++] = static_cast<wchar_t>(b);
            ++i;
            continue;
        }
        std::size_t size = 0;
        char32_t code = 0;
        char32_t lowest = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            size = 2;
            code = b & 0x1F;
            lowest = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            size = 3;
            code = b & 0x0F;
            lowest = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            size = 4;
            code = b & 0x07;
            lowest = 0x10000;
        }
        bool valid = size != 0 && i + size <= n;
        for (std::size_t k = 1; valid && k < size; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            valid = IsContinuation(next);
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are not valid UTF-8.
        valid = valid && code >= lowest && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (valid) {
            out[length++] = static_cast<wchar_t>(code);
            i += size;
        } else {
            out[length++] = static_cast<wchar_t>(kEscapeBase + b);
            ++i;
        }
    }
    out.resize(length);
}

void EncodeFileName(std::wstring_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (const wchar_t unit : text) {
        auto code = static_cast<std::uint32_t>(unit);
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code >= 0xDC80 && code <= 0xDCFF) {
            out.push_back(static_cast<char>(code - kEscapeBase));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            if (code > 0x10FFFF) code = 0xFFFD;
            if (code < 0x10000) {
                out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            } else {
                out.push_back(static_cast<char>(0xF0 | (code >> 18)));
                out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            }
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
}

}  // namespace qorvani
