#pragma once
// The fixture of every Windows test that drives the main window: the real window (the shared
// MainWindowHost, as the benchmarks make it too) made and shown before each test, destroyed
// after it with the WM_QUIT its destruction leaves behind taken from the queue.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "MainWindowHost.h"
#include "WinTestSupport.h"
#include "app/win32/MainWindow.h"

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        host_.emplace();
        window_ = host_->Handle();
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { host_.reset(); }
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    qorvani::MainWindow& Main() const { return *qorvani::MainWindow::FromHandle(window_); }

    HWND window_ = nullptr;

private:
    std::optional<qorvani::drive::MainWindowHost> host_;
};
