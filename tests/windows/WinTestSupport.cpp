#include "WinTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/core/Layout.h"

namespace wintest {

bool PollFor(const std::function<bool()>& condition, DWORD milliseconds) {
    const ULONGLONG start = GetTickCount64();
    while (!condition()) {
        if (GetTickCount64() - start >= milliseconds) return condition();
        Pump(0);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    return true;
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds, const std::string& what) {
    if (PollFor(condition, milliseconds)) return true;
    ADD_FAILURE() << "waited " << milliseconds << " ms for " << what << ", in vain";
    return false;
}

static LPARAM Centre(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return MAKELPARAM(r.right / 2, r.bottom / 2);
}

void PostClickFlat(HWND button) {
    const LPARAM at = Centre(button);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(button, WM_LBUTTONUP, 0, at);
}

void ClickControl(HWND control) {
    const LPARAM at = Centre(control);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
    Pump(50);
}

std::optional<POINT> RowCheckBoxStart(HWND list, int row) {
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    const int y = (bounds.top + bounds.bottom) / 2;
    for (int x = bounds.left; x < bounds.left + 40; ++x) {
        LVHITTESTINFO hit{};
        hit.pt = POINT{x, y};
        const int found = static_cast<int>(SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (found == row && (hit.flags & LVHT_ONITEMSTATEICON)) return hit.pt;
    }
    return std::nullopt;
}

void ClickRowCheckBox(HWND list, int row) {
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
    const std::optional<POINT> start = RowCheckBoxStart(list, row);
    if (!start) return;
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start->x + 2, start->y));
    PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(start->x + 2, start->y));
    Pump(50);
}

bool RowChecked(HWND list, int row) {
    return ((SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::wstring RowText(HWND list, int row, int column) {
    wchar_t buffer[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    const auto length = SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return std::wstring(buffer, static_cast<std::size_t>(length));
}

int RowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TempTree::TempTree() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    // A folder made new: Wine gives processes the same small ids run after run, so a tree left by
    // a run that crashed may stand under the name this one would take.
    static int counter = 0;
    do {
        root_ = std::wstring(base) + L"qvt" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter) + L"\\";
    } while (!CreateDirectoryW(root_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempTree::~TempTree() { RemoveTree(root_); }

void TempTree::Folder(const std::wstring& relative) { CreateDirectoryW((root_ + relative).c_str(), nullptr); }

void TempTree::File(const std::wstring& relative, std::uint64_t size) {
    HANDLE file = CreateFileW((root_ + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    if (size) {
        std::vector<char> bytes(static_cast<std::size_t>(std::min<std::uint64_t>(size, 1 << 20)), 'q');
        std::uint64_t left = size;
        while (left) {
            DWORD chunk = static_cast<DWORD>(std::min<std::uint64_t>(left, bytes.size())), written = 0;
            WriteFile(file, bytes.data(), chunk, &written, nullptr);
            left -= chunk;
        }
    }
    CloseHandle(file);
}

void ChangeDpi(HWND window, int dpi) {
    using qorvani::TwipsToPixels;
    RECT frame{0, 0, TwipsToPixels(qorvani::kMainClientWidthTwips, dpi), TwipsToPixels(qorvani::kMainClientHeightTwips, dpi)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    OffsetRect(&frame, 40 - frame.left, 30 - frame.top);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
}

}  // namespace wintest
