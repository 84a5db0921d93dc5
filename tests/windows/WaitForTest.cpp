// The tests' one wait: it ends as soon as the condition holds, handles this thread's messages
// while it waits, and when its time runs out fails the test with what it waited for.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "WinTestSupport.h"

using namespace wintest;

namespace {

std::atomic<bool> g_timerFired{false};
void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    g_timerFired = true;
}

TEST(WaitFor, EndsWhenTheConditionHoldsAndHandlesMessagesMeanwhile) {
    EXPECT_TRUE(WaitFor([] { return true; }, 0, "a condition already true"));

    std::atomic<bool> set{false};
    const ULONGLONG start = GetTickCount64();
    std::thread setter([&] {
        Sleep(200);
        set = true;
    });
    EXPECT_TRUE(WaitFor([&] { return set.load(); }, 30000, "the other thread's flag"));
    const ULONGLONG took = GetTickCount64() - start;
    setter.join();
    EXPECT_GE(took + 20, 200u);  // GetTickCount64 may step by up to about 16 ms
    EXPECT_LT(took, 30000u);

    // A thread timer fires only when this thread's messages are dispatched.
    g_timerFired = false;
    ASSERT_NE(SetTimer(nullptr, 0, 50, OnTimer), 0u);
    EXPECT_TRUE(WaitFor([] { return g_timerFired.load(); }, 30000, "a thread timer"));
}

TEST(WaitFor, WhenTheTimeRunsOutTheTestFailsWithWhatItWaitedFor) {
    bool result = true;
    const ULONGLONG start = GetTickCount64();
    EXPECT_NONFATAL_FAILURE(result = WaitFor([] { return false; }, 300, "the flag that never comes"),
                            "300 ms for the flag that never comes");
    EXPECT_FALSE(result);
    EXPECT_GE(GetTickCount64() - start + 20, 300u);

    // PollFor waits the same way but fails nothing: a failure here would fail this test.
    EXPECT_FALSE(PollFor([] { return false; }, 100));
    int polls = 0;
    EXPECT_TRUE(PollFor([&] { return ++polls == 3; }, 30000));
    EXPECT_EQ(polls, 3);
}

}  // namespace
