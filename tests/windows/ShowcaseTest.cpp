// Not a check: a sorted scan left on screen for the documentation's screenshot (scripts/showcase.sh).
// Runs only when asked for with --gtest_also_run_disabled_tests.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "WinTestSupport.h"
#include "app/core/Layout.h"
#include "app/win32/MainWindow.h"

using namespace qorvani;
using namespace wintest;

using Showcase = MainWindowFixture;

TEST_F(Showcase, DISABLED_ScanLeftOnScreen) {
    wchar_t root[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"QORVANI_SHOWCASE_ROOT", root, MAX_PATH), 0u);
    HWND main = window_;
    ClickFlat(GetDlgItem(main, kIdCheckAllTypesButton));
    SetWindowTextW(GetDlgItem(main, kIdPathBox), root);
    ClickFlat(GetDlgItem(main, kIdScanButton));
    HWND list = GetDlgItem(main, kIdResultList);
    // Sorted by size, as from the result list's menu, the largest rows checked: the checked total
    // shows at the status bar's right end.
    Main().ResultRows().Sort(RowOrder::BySize);
    for (int row : {0, 1, 3}) ClickRowCheckBox(list, row);
    EXPECT_GT(RowCount(list), 0);
    Pump(8000);  // on screen for scripts/showcase.sh to take its picture
}
