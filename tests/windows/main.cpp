// The Windows test program: GoogleTest's runner with the common controls loaded.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
