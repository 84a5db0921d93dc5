// The handle owners: giving a handle back keeps the thread's last error, whether the owner is
// reset, assigned over or destroyed, and even when the close itself fails.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/win32/DeviceContext.h"
#include "common/win32/GdiObject.h"
#include "common/win32/Handles.h"

namespace qorvani {
namespace {

constexpr DWORD kCallersError = ERROR_FILE_NOT_FOUND;

TEST(HandleOwners, GivingAHandleBackKeepsTheLastError) {
    KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event.Valid());
    SetLastError(kCallersError);
    event.Reset();
    EXPECT_FALSE(event.Valid());
    EXPECT_EQ(GetLastError(), kCallersError) << "reset";

    KernelHandle replaced(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    KernelHandle replacement(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    SetLastError(kCallersError);
    replaced = std::move(replacement);
    EXPECT_TRUE(replaced.Valid());
    EXPECT_EQ(GetLastError(), kCallersError) << "assigned over";

    WIN32_FIND_DATAW found{};
    wchar_t folder[MAX_PATH];
    ASSERT_NE(GetSystemDirectoryW(folder, MAX_PATH), 0u);
    const std::wstring pattern = std::wstring(folder) + L"\\*";
    {
        FindHandle listing(FindFirstFileW(pattern.c_str(), &found));
        ASSERT_TRUE(listing.Valid());
        Brush brush(CreateSolidBrush(RGB(1, 2, 3)));
        ASSERT_TRUE(brush.Valid());
        WindowDc screen = GetWindowDc(nullptr);
        ASSERT_TRUE(screen.Valid());
        MemoryDc memory = CreateMemoryDc(screen.Get());
        ASSERT_TRUE(memory.Valid());
        SelectedObject selected = SelectInto(memory.Get(), brush.Get());
        ASSERT_TRUE(selected.Valid());
        SetLastError(kCallersError);
    }  // each closed in turn as the scope ends
    EXPECT_EQ(GetLastError(), kCallersError) << "destroyed";

    // A close that fails sets an error of its own (a handle closed behind the owner's back):
    // the caller still reads its own.
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(raw, nullptr);
    KernelHandle stale(raw);
    ASSERT_TRUE(CloseHandle(raw));
    SetLastError(kCallersError);
    stale.Reset();
    EXPECT_EQ(GetLastError(), kCallersError) << "failed close";
    EXPECT_FALSE(CloseHandle(raw));  // the close did fail, with an error of its own
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
}  // namespace qorvani
