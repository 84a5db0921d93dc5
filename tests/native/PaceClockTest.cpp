// The pacer's rules, on a clock the test moves by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/core/PaceClock.h"

using namespace qorvani;

namespace {

// Steps of a command at the given times; counts what the pacer asked for.
struct Counts {
    int looks = 0, repaints = 0, keepAlives = 0;
};

Counts Steps(PaceClock& pace, const std::vector<std::uint32_t>& times, bool lookPoints) {
    Counts counts;
    for (std::uint32_t t : times) {
        const PaceActions a = pace.At(t, lookPoints);
        counts.looks += a.look;
        counts.repaints += a.repaint;
        counts.keepAlives += a.keepAlive;
    }
    return counts;
}

std::vector<std::uint32_t> Every(std::uint32_t from, std::uint32_t step, std::uint32_t until) {
    std::vector<std::uint32_t> times;
    for (std::uint32_t t = from; t != until; t += step) times.push_back(t);
    return times;
}

}  // namespace

TEST(PaceClock, FirstLookPointLooksThenOnlyEveryTenMilliseconds) {
    PaceClock pace;
    pace.Begin(1000);
    // 100,000 rows within 50 ms: one look at the first row, then one per 10 ms.
    EXPECT_TRUE(pace.At(1000, true).look);
    EXPECT_FALSE(pace.At(1000, true).look);
    EXPECT_FALSE(pace.At(1009, true).look);
    EXPECT_TRUE(pace.At(1010, true).look);
    EXPECT_FALSE(pace.At(1019, true).look);
    EXPECT_TRUE(pace.At(1025, true).look);  // due 1020: a step later still looks, once
    EXPECT_FALSE(pace.At(1026, true).look);
}

TEST(PaceClock, BeginMakesTheNextLookPointLookAtOnce) {
    PaceClock pace;
    pace.Begin(0);
    EXPECT_TRUE(pace.At(0, true).look);
    // A nested command (a pass run from a yield) begins 2 ms later: its first row looks too.
    pace.Begin(2);
    EXPECT_TRUE(pace.At(2, true).look);
    EXPECT_FALSE(pace.At(3, true).look);
}

TEST(PaceClock, WorkPointsNeverLook) {
    PaceClock pace;
    pace.Begin(0);
    const Counts counts = Steps(pace, Every(0, 1, 2000), false);
    EXPECT_EQ(counts.looks, 0);
    // A look stays due for the next look point, however late it comes.
    EXPECT_TRUE(pace.At(2000, true).look);
}

TEST(PaceClock, RepaintsAtOnceThenAtASteadyRate) {
    PaceClock pace;
    pace.Begin(500);
    EXPECT_TRUE(pace.At(500, false).repaint);
    // One second of steps every millisecond: 16 repaints more (every 60 ms), never per step.
    const Counts counts = Steps(pace, Every(501, 1, 1501), false);
    EXPECT_EQ(counts.repaints, 16);
    // A repaint made by the command itself moves the next one back.
    pace.Repainted(1530);
    EXPECT_FALSE(pace.At(1560, false).repaint);
    EXPECT_TRUE(pace.At(1590, false).repaint);
}

TEST(PaceClock, RetrievesMessagesAtLeastEveryQuarterSecond) {
    PaceClock pace;
    pace.Begin(0);
    // A walk with no input: 20 s of steps every 3 ms, only work points and folder entries
    // whose looks find nothing. Never more than 250 ms (plus one step) without a retrieval.
    std::uint32_t lastRetrieve = 0, longest = 0;
    for (std::uint32_t t = 0; t < 20000; t += 3) {
        const PaceActions a = pace.At(t, t % 30 == 0);
        if (a.keepAlive) {
            longest = std::max(longest, t - lastRetrieve);
            lastRetrieve = t;
        }
    }
    EXPECT_LE(longest, 253u);
    EXPECT_GE(longest, 250u);  // and no more often than needed
}

TEST(PaceClock, APumpingLookCountsAsRetrievingSoNoExtraPeeks) {
    PaceClock pace;
    pace.Begin(0);
    // A selection pass: every look pumps, so the keep-alive never comes due.
    int keepAlives = 0;
    for (std::uint32_t t = 0; t < 5000; ++t) {
        const PaceActions a = pace.At(t, true);
        if (a.look) pace.Retrieved(t);
        keepAlives += a.keepAlive;
    }
    EXPECT_EQ(keepAlives, 0);
}

TEST(PaceClock, MillisecondCounterWrapsWithoutStallingOrRushing) {
    PaceClock pace;
    const std::uint32_t start = 0xFFFFFFFFu - 100;  // 101 ms before the counter wraps
    pace.Begin(start);
    EXPECT_TRUE(pace.At(start, true).look);
    EXPECT_FALSE(pace.At(start + 5, true).look);
    EXPECT_TRUE(pace.At(start + 110, true).look);   // past the wrap: 110 ms later
    EXPECT_FALSE(pace.At(start + 115, true).look);
    const Counts counts = Steps(pace, Every(start + 116, 1, start + 1116), false);
    EXPECT_EQ(counts.repaints, 16);
    EXPECT_EQ(counts.keepAlives, 4);
}

TEST(PaceClock, IntervalsCanBeChosen) {
    PaceClock pace(PaceIntervals{1000, 100, 50});
    pace.Begin(0);
    const Counts counts = Steps(pace, Every(0, 1, 1000), true);
    EXPECT_EQ(counts.looks, 20);
    EXPECT_EQ(counts.repaints, 10);
    EXPECT_EQ(counts.keepAlives, 0);
    EXPECT_TRUE(pace.At(1000, false).keepAlive);
}
