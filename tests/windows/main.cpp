// The Windows test program: GoogleTest's runner with the common controls loaded.
// With "--hold FILE EVENT" it is instead the helper process of the delete tests: it keeps FILE
// open without delete sharing, signals EVENT, and waits to be ended. With "--watch-hung WINDOW
// EVENT FILE" it is the watcher of the long-operation tests (LongOpsTest.cpp).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "common/win32/Handles.h"

static int HoldFile(const wchar_t* path, const wchar_t* eventName) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName);
    if (ready) SetEvent(ready);
    Sleep(file == INVALID_HANDLE_VALUE ? 0 : 120000);
    return file == INVALID_HANDLE_VALUE ? 2 : 0;
}

int WatchHung(const wchar_t* window, const wchar_t* eventName, const wchar_t* outFile);

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"--hold") return HoldFile(argv[2], argv[3]);
    if (argc == 5 && std::wstring(argv[1]) == L"--watch-hung") return WatchHung(argv[2], argv[3], argv[4]);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // The windows' thread set up as the program's entry sets it up: COM before the first window.
    const qorvani::ComApartment com = qorvani::InitializeCom();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
