// The window base: a window's object is deleted exactly once, whether the window lives, refuses
// its creation after WM_NCCREATE, or is never made. (Windows made by class name: FlatButtonTest.)
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "common/win32/BaseWindow.h"

namespace qorvani {
namespace {

enum class Refuse { Nothing, AtNcCreate, AtCreate };
int g_made = 0, g_deleted = 0, g_ncCreates = 0;

// A window that counts its object's life and refuses its creation where it is told to.
class Probe final : public BaseWindow<Probe> {
public:
    static constexpr const wchar_t* kClassName = L"QorvaniBaseWindowProbe";
    explicit Probe(Refuse refuse) : refuse_(refuse) { ++g_made; }
    ~Probe() { ++g_deleted; }

    static HWND Make(Refuse refuse, HWND parent = nullptr) {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        if (!RegisterClassOnce(instance, {})) return nullptr;
        return MakeWindow(std::make_unique<Probe>(refuse), 0, L"", parent ? WS_CHILD : WS_POPUP, RECT{0, 0, 9, 9},
                          parent, nullptr, instance);
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            ++g_ncCreates;
            if (refuse_ == Refuse::AtNcCreate) return FALSE;
        }
        if (message == WM_CREATE && refuse_ == Refuse::AtCreate) return -1;
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    Refuse refuse_;
};

TEST(BaseWindowTest, TheWindowOwnsItsObjectUntilItIsDestroyed) {
    g_made = g_deleted = 0;
    HWND window = Probe::Make(Refuse::Nothing);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(Probe::FromHandle(window), nullptr);
    EXPECT_EQ(Probe::FromHandle(window)->Handle(), window);
    EXPECT_EQ(Probe::FromHandle(GetDesktopWindow()), nullptr);  // another class's window
    EXPECT_EQ(g_deleted, 0);
    DestroyWindow(window);
    EXPECT_EQ(g_deleted, 1);
    EXPECT_EQ(Probe::FromHandle(window), nullptr);
}

TEST(BaseWindowTest, ACreationRefusedAfterNcCreateDeletesTheObjectOnce) {
    for (Refuse refuse : {Refuse::AtNcCreate, Refuse::AtCreate}) {
        g_made = g_deleted = g_ncCreates = 0;
        EXPECT_EQ(Probe::Make(refuse), nullptr);
        EXPECT_EQ(g_ncCreates, 1);
        EXPECT_EQ(g_made, 1);
        EXPECT_EQ(g_deleted, 1) << (refuse == Refuse::AtCreate ? "WM_CREATE" : "WM_NCCREATE");
    }
}

TEST(BaseWindowTest, ACreationFailingBeforeNcCreateFreesTheObject) {
    HWND gone = Probe::Make(Refuse::Nothing);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    g_made = g_deleted = g_ncCreates = 0;
    EXPECT_EQ(Probe::Make(Refuse::Nothing, gone), nullptr);  // a child of a window that is gone
    EXPECT_EQ(g_ncCreates, 0);
    EXPECT_EQ(g_deleted, 1);

    // Made by class name, a class that makes no object of its own refuses the window.
    g_made = 0;
    EXPECT_EQ(CreateWindowExW(0, Probe::kClassName, L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr),
              nullptr);
    EXPECT_EQ(g_made, 0);
}

}  // namespace
}  // namespace qorvani
