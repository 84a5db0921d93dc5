#include "DriveSupport.h"

#include <commctrl.h>

namespace qorvani::drive {

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

namespace {

// A move, a left press and its release at the centre of a flat button, each handed to
// deliver(message, wParam, lParam).
template <class Deliver>
void FlatClick(HWND button, Deliver deliver) {
    RECT r;
    GetClientRect(button, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    deliver(WM_MOUSEMOVE, 0, at);
    deliver(WM_LBUTTONDOWN, MK_LBUTTON, at);
    deliver(WM_LBUTTONUP, 0, at);
}

}  // namespace

void ClickFlat(HWND button) {
    FlatClick(button, [button](UINT message, WPARAM w, LPARAM l) { SendMessageW(button, message, w, l); });
}

void PostMoveAndClickFlat(HWND button) {
    FlatClick(button, [button](UINT message, WPARAM w, LPARAM l) { PostMessageW(button, message, w, l); });
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

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
    return text;
}

std::wstring SystemUpper(const std::wstring& text) {
    if (text.empty()) return text;
    std::wstring upper(text.size(), L'\0');
    LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()), upper.data(),
                 static_cast<int>(upper.size()));
    return upper;
}

void RemoveTree(const std::wstring& folderText) {
    std::wstring folder = folderText;
    if (folder.empty() || folder.back() != L'\\') folder.push_back(L'\\');
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name);
            } else {
                SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW((folder + name).c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace qorvani::drive
