#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/core/SlotArray.h"
#include "common/core/TrimAtNul.h"

using namespace qorvani;

namespace {

TEST(SlotArrayTest, EntriesLiveFromSlotOne) {
    SlotArray masks;
    EXPECT_TRUE(masks.Empty());
    EXPECT_EQ(masks.HighestIndex(), 0u);
    EXPECT_EQ(masks[0], L"");
    EXPECT_EQ(masks.begin(), masks.end());

    masks.Append(L"*.TMP");
    masks.Append(L"*.BAK");
    EXPECT_FALSE(masks.Empty());
    EXPECT_EQ(masks.HighestIndex(), 2u);
    EXPECT_EQ(masks[0], L"");
    EXPECT_EQ(masks[2], L"*.BAK");
    EXPECT_EQ(std::vector<std::wstring>(masks.begin(), masks.end()), (std::vector<std::wstring>{L"*.TMP", L"*.BAK"}));
    EXPECT_THROW((void)masks[3], std::out_of_range);

    masks.Reset();
    EXPECT_TRUE(masks.Empty());
    EXPECT_EQ(masks[0], L"");
}

TEST(SlotArrayTest, TrimAtNul) {
    EXPECT_EQ(TrimAtNul(std::wstring(L"C:\\Temp\0\0\0", 10)), L"C:\\Temp");
    EXPECT_EQ(TrimAtNul(std::wstring(L"\0abc", 4)), L"");
    EXPECT_EQ(TrimAtNul(L"no nul"), L"no nul");
    EXPECT_EQ(TrimAtNul(L""), L"");
}

}  // namespace
