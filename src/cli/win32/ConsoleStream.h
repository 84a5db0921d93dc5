#pragma once
// One of the console programs' standard streams. To a console, text goes through WriteConsoleW,
// so that Chinese shows whatever the console's code page; to a file or a pipe, as UTF-8 bytes.
#include <windows.h>

#include <string>
#include <string_view>

namespace qorvani {

class ConsoleStream {
public:
    explicit ConsoleStream(DWORD which);  // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE
    bool IsConsole() const { return console_; }
    // Writes UTF-8 text; false when the stream is gone (a closed pipe).
    bool Write(std::string_view utf8);
    bool Write(std::wstring_view text);

private:
    HANDLE handle_;
    bool console_ = false;
};

}  // namespace qorvani
