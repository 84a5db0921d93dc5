#include "scan/core/NumberText.h"

#include <charconv>
#include <cmath>

#include "common/core/Texts.h"

namespace qorvani {

namespace {

constexpr int kSignificantDigits = 15;
constexpr std::uint64_t kFirstWithExponent = 1000000000000000ULL;  // 10^15

std::wstring Widen(const char* first, const char* last) {
    std::wstring text;
    text.reserve(static_cast<std::size_t>(last - first) + 1);
    for (const char* p = first; p != last; ++p) {
        text.push_back(*p == 'e' ? L'E' : static_cast<wchar_t>(*p));
    }
    return text;
}

}  // namespace

// The shortest of fixed or exponent form with 15 significant digits, as "%.15G" writes it in
// the "C" locale; std::to_chars never looks at the locale.
std::wstring NumberText(double value) {
    if (value == 0) value = 0.0;  // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, kSignificantDigits);
    std::wstring text = std::signbit(value) ? std::wstring() : std::wstring(1, L' ');
    text += Widen(buffer, result.ptr);
    return text;
}

// Whole counts below 10^15 are written exactly; larger ones keep 15 significant digits
// (rounded half up) with an exponent, as the double form writes them.
std::wstring NumberText(std::uint64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    if (value < kFirstWithExponent) return L" " + Widen(digits, result.ptr);

    const int length = static_cast<int>(result.ptr - digits);
    int exponent = length - 1;
    char mantissa[kSignificantDigits];
    for (int i = 0; i < kSignificantDigits; ++i) mantissa[i] = digits[i];
    if (digits[kSignificantDigits] >= '5') {
        int i = kSignificantDigits - 1;
        while (i >= 0 && mantissa[i] == '9') mantissa[i--] = '0';
        if (i >= 0) {
            ++mantissa[i];
        } else {
            mantissa[0] = '1';
            ++exponent;
        }
    }
    int kept = kSignificantDigits;
    while (kept > 1 && mantissa[kept - 1] == '0') --kept;

    std::wstring text = L" ";
    text.push_back(static_cast<wchar_t>(mantissa[0]));
    if (kept > 1) {
        text.push_back(L'.');
        for (int i = 1; i < kept; ++i) text.push_back(static_cast<wchar_t>(mantissa[i]));
    }
    text += L"E+";
    char exponentText[8];
    const auto exponentEnd = std::to_chars(exponentText, exponentText + sizeof exponentText, exponent);
    text += Widen(exponentText, exponentEnd.ptr);
    return text;
}

std::wstring FormatFileSize(std::uint64_t sizeBytes) {
    const double kb = std::floor(static_cast<double>(sizeBytes) / 102.4) / 10;
    if (kb != 0) return NumberText(kb);
    return NumberText(sizeBytes) + text::kBytesSuffix;
}

double MegabytesFigure(std::uint64_t totalBytes) {
    return std::floor(static_cast<double>(totalBytes) / 104857.6) / 10;
}

double SecondsFigure(std::uint32_t elapsedMilliseconds) {
    return static_cast<double>(elapsedMilliseconds) / 1000;
}

}  // namespace qorvani
