// The Windows test program: GoogleTest's runner with the common controls loaded.
// With "--hold FILE EVENT" it is instead the helper process of the delete tests: it keeps FILE
// open without delete sharing, signals EVENT, and waits to be ended. With "--watch-hung WINDOW
// EVENT FILE" it is the watcher of the long-operation tests (LongOpsTest.cpp). With
// "--hold-clipboard MS EVENT" it keeps the clipboard open for MS milliseconds after signalling
// EVENT; with "--set-state-image WINDOW ROW IMAGE" it sets a list row's state image from outside,
// as a UI Automation client does (the LVITEM written into the list's process).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/win32/Handles.h"

static int HoldFile(const wchar_t* path, const wchar_t* eventName) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName);
    if (ready) SetEvent(ready);
    Sleep(file == INVALID_HANDLE_VALUE ? 0 : 120000);
    return file == INVALID_HANDLE_VALUE ? 2 : 0;
}

static int HoldClipboard(const wchar_t* milliseconds, const wchar_t* eventName) {
    if (!OpenClipboard(nullptr)) return 2;  // no signal: the parent sees it end unready
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName);
    if (ready) SetEvent(ready);
    Sleep(static_cast<DWORD>(_wtoi(milliseconds)));
    CloseClipboard();
    return 0;
}

static int SetStateImage(const wchar_t* window, const wchar_t* row, const wchar_t* image) {
    const auto list = reinterpret_cast<HWND>(static_cast<INT_PTR>(_wcstoui64(window, nullptr, 16)));
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) return 2;
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(_wtoi(image));
    void* remote = VirtualAllocEx(process, nullptr, sizeof(item), MEM_COMMIT, PAGE_READWRITE);
    int result = 3;
    if (remote != nullptr && WriteProcessMemory(process, remote, &item, sizeof(item), nullptr))
        result = SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(_wtoi(row)), reinterpret_cast<LPARAM>(remote)) ? 0 : 1;
    if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return result;
}

int WatchHung(const wchar_t* window, const wchar_t* eventName, const wchar_t* outFile);

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"--hold") return HoldFile(argv[2], argv[3]);
    if (argc == 4 && std::wstring(argv[1]) == L"--hold-clipboard") return HoldClipboard(argv[2], argv[3]);
    if (argc == 5 && std::wstring(argv[1]) == L"--set-state-image") return SetStateImage(argv[2], argv[3], argv[4]);
    if (argc == 5 && std::wstring(argv[1]) == L"--watch-hung") return WatchHung(argv[2], argv[3], argv[4]);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // The windows' thread set up as the program's entry sets it up: COM before the first window.
    const qorvani::ComApartment com = qorvani::InitializeCom();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
