// The tests' own support: the one wait, which ends as soon as the condition holds, handles this
// thread's messages while it waits, and when its time runs out fails the test with what it
// waited for; the temporary trees, which never take over a folder an earlier run left behind.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
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

// A run that ended before removing its tree leaves it under a name that a later process (Wine
// gives out the same process ids again) would choose: a new tree passes over it and starts empty.
TEST(TempTree, IsMadeAnewAndNeverTakesOverAFolderLeftBehind) {
    std::wstring next;
    {
        TempTree first;
        const std::wstring& root = first.Root();
        const std::size_t number = root.rfind(L'_') + 1;
        next = root.substr(0, number) + std::to_wstring(std::stoi(root.substr(number)) + 1) + L"\\";
    }
    ASSERT_TRUE(CreateDirectoryW(next.c_str(), nullptr));  // as an earlier run left it
    HANDLE left = CreateFileW((next + L"left.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(left, INVALID_HANDLE_VALUE);
    CloseHandle(left);

    {
        TempTree second;
        EXPECT_NE(second.Root(), next);
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((second.Root() + L"*").c_str(), &data);
        int entries = 0;
        if (find != INVALID_HANDLE_VALUE) {
            do entries += std::wstring(data.cFileName) != L"." && std::wstring(data.cFileName) != L"..";
            while (FindNextFileW(find, &data));
            FindClose(find);
        }
        EXPECT_EQ(entries, 0);
    }
    EXPECT_NE(GetFileAttributesW((next + L"left.tmp").c_str()), INVALID_FILE_ATTRIBUTES);  // not ours to remove
    RemoveTree(next);
}

}  // namespace
