#include <gtest/gtest.h>

#include <string>

#include "common/core/TrimAtNul.h"

using namespace qorvani;

namespace {

TEST(TrimAtNulTest, TrimAtNul) {
    EXPECT_EQ(TrimAtNul(std::wstring(L"C:\\Temp\0\0\0", 10)), L"C:\\Temp");
    EXPECT_EQ(TrimAtNul(std::wstring(L"\0abc", 4)), L"");
    EXPECT_EQ(TrimAtNul(L"no nul"), L"no nul");
    EXPECT_EQ(TrimAtNul(L""), L"");
}

}  // namespace
