#pragma once
// File times as Windows keeps them: FILETIME ticks, 100 ns each since 1601-01-01 00:00 UTC.
#include <cstdint>
#include <string>

namespace qorvani {

inline constexpr std::uint64_t kTicksPerSecond = 10'000'000;
inline constexpr std::uint64_t kTicksPerDay = 86'400 * kTicksPerSecond;

// The ticks of a POSIX time (seconds since 1970-01-01 UTC and nanoseconds); 0 before 1601.
std::uint64_t TicksFromUnixTime(std::int64_t seconds, std::uint32_t nanoseconds);

// ISO 8601 in UTC to the second: "2026-12-09T07:56:00Z".
std::wstring IsoUtcText(std::uint64_t ticks);

// True when a file last written at lastWrite is at least days old at now. A file written after
// now (a clock set wrong, a copy from elsewhere) is of age 0.
inline bool AtLeastDaysOld(std::uint64_t lastWrite, std::uint64_t now, std::uint32_t days) {
    const std::uint64_t age = now > lastWrite ? now - lastWrite : 0;
    return age >= static_cast<std::uint64_t>(days) * kTicksPerDay;
}

}  // namespace qorvani
