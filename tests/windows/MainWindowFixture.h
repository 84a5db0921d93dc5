#pragma once
// A test fixture owning one real main window: made and shown before each test, destroyed after
// it (with the WM_QUIT its destruction leaves behind taken from the queue).
#include <windows.h>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "app/win32/MainWindow.h"

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = qorvani::MainWindow::Create(GetModuleHandleW(nullptr), SW_SHOW);
        ASSERT_NE(window_, nullptr);
        SetForegroundWindow(window_);
        wintest::Pump(50);
    }
    void TearDown() override {
        if (IsWindow(window_)) DestroyWindow(window_);
        wintest::TakeQuit();
    }
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    qorvani::MainWindow& Main() const { return *qorvani::MainWindow::FromHandle(window_); }

    HWND window_ = nullptr;
};
