#include "WinTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

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

std::wstring Text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

namespace {
std::wstring PartText(HWND statusBar, WPARAM part) {
    const auto length = LOWORD(SendMessageW(statusBar, SB_GETTEXTLENGTHW, part, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(statusBar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}
}  // namespace

std::wstring StatusText(HWND statusBar) {
    if (!SendMessageW(statusBar, SB_ISSIMPLE, 0, 0)) return PartText(statusBar, 0);
    // The simple text: Windows answers it for SB_SIMPLEID, Wine for part 0 while in simple mode.
    for (WPARAM part : {static_cast<WPARAM>(SB_SIMPLEID), static_cast<WPARAM>(0)}) {
        std::wstring text = PartText(statusBar, part);
        if (!text.empty()) return text;
    }
    return std::wstring();
}

std::wstring StatusTotal(HWND statusBar) {
    if (SendMessageW(statusBar, SB_ISSIMPLE, 0, 0) || SendMessageW(statusBar, SB_GETPARTS, 0, 0) < 2) return {};
    return PartText(statusBar, 1);
}

static LPARAM Centre(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return MAKELPARAM(r.right / 2, r.bottom / 2);
}

void ClickFlat(HWND button) {
    const LPARAM at = Centre(button);
    SendMessageW(button, WM_MOUSEMOVE, 0, at);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(button, WM_LBUTTONUP, 0, at);
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

void ClickRowCheckBox(HWND list, int row) {
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    const int y = (bounds.top + bounds.bottom) / 2;
    for (int x = bounds.left; x < bounds.left + 40; ++x) {
        LVHITTESTINFO hit{};
        hit.pt = POINT{x, y};
        const int found = static_cast<int>(SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (found == row && (hit.flags & LVHT_ONITEMSTATEICON)) {
            PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x + 2, y));
            PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(x + 2, y));
            Pump(50);
            return;
        }
    }
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

void SendRealClick(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
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

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + L"\\");
            else {
                SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW((folder + name).c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace wintest
