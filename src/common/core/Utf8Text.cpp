#include "common/core/Utf8Text.h"

#include <cstdint>
#include <cstdio>

namespace qorvani {

namespace {

bool IsHighSurrogate(std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Calls take(code point, unpaired) for each character of text: a surrogate pair as one code point
// (where wchar_t is 16 bits), an unpaired surrogate as itself with unpaired true.
template <typename Take>
void ForEachCodePoint(std::wstring_view text, Take take) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<std::uint32_t>(text[i]);
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))) {
            take(0x10000 + ((unit - 0xD800) << 10) + (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00), false);
            ++i;
        } else {
            take(unit, IsHighSurrogate(unit) || IsLowSurrogate(unit));
        }
    }
}

void AppendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Hex4(std::uint32_t unit, bool upper) {
    char text[8];
    std::snprintf(text, sizeof text, upper ? "%04X" : "%04x", static_cast<unsigned>(unit));
    return text;
}

}  // namespace


std::string Utf8Escaped(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&](std::uint32_t c, bool unpaired) {
        if (unpaired) out += "<U+" + Hex4(c, true) + ">";
        else AppendUtf8(out, c);
    });
    return out;
}

std::wstring ConsoleEscaped(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<std::uint32_t>(text[i]);
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))) {
            out.append(text.substr(i, 2));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            for (const char c : "<U+" + Hex4(unit, true) + ">") out += static_cast<wchar_t>(c);
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string CsvField(std::wstring_view text) {
    const std::string utf8 = Utf8Escaped(text);
    const bool quoted = utf8.find_first_of(",\"\r\n") != std::string::npos ||
                        (!utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' '));
    if (!quoted) return utf8;
    std::string out = "\"";
    for (const char c : utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string JsonString(std::wstring_view text) {
    std::string out = "\"";
    ForEachCodePoint(text, [&](std::uint32_t c, bool unpaired) {
        if (unpaired) out += "\\u" + Hex4(c, false);
        else if (c == '"') out += "\\\"";
        else if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c < 0x20 || c == 0x7F) out += "\\u" + Hex4(c, false);
        else AppendUtf8(out, c);
    });
    return out + "\"";
}

}  // namespace qorvani
