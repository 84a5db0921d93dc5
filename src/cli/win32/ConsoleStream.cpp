#include "cli/win32/ConsoleStream.h"

#include "common/core/Utf8Text.h"

namespace qorvani {

ConsoleStream::ConsoleStream(DWORD which) : handle_(GetStdHandle(which)) {
    DWORD mode = 0;
    console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode) != 0;
}

bool ConsoleStream::Write(std::string_view utf8) {
    if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) return false;
    if (console_) {
        const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        std::wstring text(static_cast<std::size_t>(units), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), units);
        return Write(std::wstring_view(text));
    }
    while (!utf8.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(utf8.size() < (1u << 20) ? utf8.size() : (1u << 20));
        if (!WriteFile(handle_, utf8.data(), chunk, &written, nullptr) || written == 0) return false;
        utf8.remove_prefix(written);
    }
    return true;
}

bool ConsoleStream::Write(std::wstring_view text) {
    if (!console_) return Write(std::string_view(Utf8Escaped(text)));
    const std::wstring shown = ConsoleEscaped(text);
    std::wstring_view rest = shown;
    while (!rest.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(rest.size() < 8192 ? rest.size() : 8192);
        if (!WriteConsoleW(handle_, rest.data(), chunk, &written, nullptr) || written == 0) return false;
        rest.remove_prefix(written);
    }
    return true;
}

}  // namespace qorvani
