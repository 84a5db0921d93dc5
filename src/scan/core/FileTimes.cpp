#include "scan/core/FileTimes.h"

#include <cstdio>

namespace qorvani {

namespace {

constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

// The civil date of a day counted from 1970-01-01 (proleptic Gregorian calendar).
void CivilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day) {
    days += 719'468;
    const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146'097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1'460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

std::uint64_t TicksFromUnixTime(std::int64_t seconds, std::uint32_t nanoseconds) {
    if (seconds < -kSecondsFrom1601To1970) return 0;
    return static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970) * kTicksPerSecond + nanoseconds / 100;
}

std::wstring IsoUtcText(std::uint64_t ticks) {
    const auto seconds = static_cast<std::int64_t>(ticks / kTicksPerSecond) - kSecondsFrom1601To1970;
    std::int64_t days = seconds / 86'400;
    std::int64_t inDay = seconds % 86'400;
    if (inDay < 0) {
        inDay += 86'400;
        --days;
    }
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    CivilFromDays(days, year, month, day);
    wchar_t text[32];
    std::swprintf(text, 32, L"%04lld-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<long long>(year), month, day,
                  static_cast<long long>(inDay / 3600), static_cast<long long>(inDay / 60 % 60),
                  static_cast<long long>(inDay % 60));
    return text;
}

}  // namespace qorvani
