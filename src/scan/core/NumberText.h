#pragma once
// The program's one number text: decimal, "." as the point, no thousands separator, at most 15
// significant digits with trailing zeros dropped, a leading space for a non-negative value
// ("-" otherwise) and a "0" before the point of a value between 0 and 1. Values from 10^15 up
// (and below 10^-4) take an exponent: " 1.8014398509482E+16", " 1E-05". Whole counts below
// 10^15 are exact; larger ones are rounded to 15 digits, half up.
#include <cstdint>
#include <string>

namespace qorvani {

std::wstring NumberText(double value);
std::wstring NumberText(std::uint64_t value);

// Size cell: floor(size / 102.4) / 10 as number text, or the bytes + "(字节)" below 103 bytes.
std::wstring FormatFileSize(std::uint64_t sizeBytes);
// Report figures: floor(total / 104857.6) / 10 and milliseconds / 1000, in double precision.
double MegabytesFigure(std::uint64_t totalBytes);
double SecondsFigure(std::uint32_t elapsedMilliseconds);

}  // namespace qorvani
