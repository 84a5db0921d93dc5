#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "scan/core/NumberText.h"

using namespace qorvani;

namespace {

TEST(NumberTextTest, FractionsAndWholeValues) {
    EXPECT_EQ(NumberText(7.0), L" 7");
    EXPECT_EQ(NumberText(12.0), L" 12");
    EXPECT_EQ(NumberText(1.5), L" 1.5");
    EXPECT_EQ(NumberText(0.5), L" 0.5");
    EXPECT_EQ(NumberText(0.0), L" 0");
    EXPECT_EQ(NumberText(-0.0), L" 0");
    EXPECT_EQ(NumberText(-1.5), L"-1.5");
    EXPECT_EQ(NumberText(-0.25), L"-0.25");
    EXPECT_EQ(NumberText(0.1), L" 0.1");             // not 0.1000000000000000055
    EXPECT_EQ(NumberText(1.0 / 3), L" 0.333333333333333");
    EXPECT_EQ(NumberText(2.0 / 3), L" 0.666666666666667");
    EXPECT_EQ(NumberText(100.0), L" 100");            // zeros before the point stay
    EXPECT_EQ(NumberText(0.0001), L" 0.0001");
}

TEST(NumberTextTest, FifteenDigitsThenExponent) {
    EXPECT_EQ(NumberText(123456789012345.0), L" 123456789012345");
    EXPECT_EQ(NumberText(1e15), L" 1E+15");
    EXPECT_EQ(NumberText(std::ldexp(1.0, 54)), L" 1.8014398509482E+16");
    EXPECT_EQ(NumberText(0.00001), L" 1E-05");
    EXPECT_EQ(NumberText(-2.5e20), L"-2.5E+20");
    EXPECT_EQ(NumberText(1234567.891234567891), L" 1234567.89123457");

    EXPECT_EQ(NumberText(std::uint64_t{0}), L" 0");
    EXPECT_EQ(NumberText(std::uint64_t{7}), L" 7");
    EXPECT_EQ(NumberText(std::uint64_t{999999999999999}), L" 999999999999999");
    EXPECT_EQ(NumberText(std::uint64_t{1000000000000000}), L" 1E+15");
    EXPECT_EQ(NumberText(std::uint64_t{1} << 54), L" 1.8014398509482E+16");
    EXPECT_EQ(NumberText(std::uint64_t{1234567890123456}), L" 1.23456789012346E+15");
    EXPECT_EQ(NumberText(std::uint64_t{9999999999999995}), L" 1E+16");  // the carry runs through
    EXPECT_EQ(NumberText(std::uint64_t{9999999999999994}), L" 9.99999999999999E+15");
    EXPECT_EQ(NumberText(UINT64_MAX), L" 1.84467440737096E+19");
    // Both forms agree on whole values.
    for (std::uint64_t v : {std::uint64_t{0}, std::uint64_t{42}, std::uint64_t{1} << 40, std::uint64_t{1} << 60}) {
        EXPECT_EQ(NumberText(v), NumberText(static_cast<double>(v))) << v;
    }
}

TEST(NumberTextTest, SizeCells) {
    EXPECT_EQ(FormatFileSize(0), L" 0(字节)");
    EXPECT_EQ(FormatFileSize(1), L" 1(字节)");
    EXPECT_EQ(FormatFileSize(102), L" 102(字节)");
    EXPECT_EQ(FormatFileSize(103), L" 0.1");
    EXPECT_EQ(FormatFileSize(1023), L" 0.9");
    EXPECT_EQ(FormatFileSize(1024), L" 1");
    EXPECT_EQ(FormatFileSize(1536), L" 1.5");
    EXPECT_EQ(FormatFileSize(10342), L" 10");
    EXPECT_EQ(FormatFileSize(3000000000), L" 2929687.5");
    EXPECT_EQ(FormatFileSize(5368709120), L" 5242880");
}

TEST(NumberTextTest, ReportFigures) {
    EXPECT_EQ(NumberText(MegabytesFigure(0)), L" 0");
    EXPECT_EQ(NumberText(MegabytesFigure(104857)), L" 0");
    EXPECT_EQ(NumberText(MegabytesFigure(104858)), L" 0.1");
    EXPECT_EQ(NumberText(MegabytesFigure(524288)), L" 0.5");
    EXPECT_EQ(NumberText(MegabytesFigure(1048576)), L" 1");
    EXPECT_EQ(NumberText(MegabytesFigure(1572864)), L" 1.5");
    EXPECT_EQ(NumberText(MegabytesFigure(std::uint64_t{5} << 40)), L" 5242880");

    EXPECT_EQ(NumberText(SecondsFigure(0)), L" 0");
    EXPECT_EQ(NumberText(SecondsFigure(250)), L" 0.25");
    EXPECT_EQ(NumberText(SecondsFigure(1000)), L" 1");
    EXPECT_EQ(NumberText(SecondsFigure(1234)), L" 1.234");
    EXPECT_EQ(NumberText(SecondsFigure(UINT32_MAX)), L" 4294967.295");
    // Any count of milliseconds gives three decimals at most.
    for (std::uint32_t ms = 0; ms < 100000; ms += 7) {
        const std::wstring text = NumberText(SecondsFigure(ms));
        const auto point = text.find(L'.');
        if (point != std::wstring::npos) {
            ASSERT_LE(text.size() - point - 1, 3u) << ms;
        }
    }
}

}  // namespace
