#include "BenchSupport.h"

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cinttypes>
#include <vector>

#include "common/win32/Handles.h"

namespace qorvani::bench {

double CounterMs(LONGLONG counter) {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    return static_cast<double>(counter) / ticksPerMs;
}

double NowMs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return CounterMs(now.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

Options::Options(int argc, wchar_t** argv, int first, std::initializer_list<const wchar_t*> known) {
    for (int i = first; i < argc; i += 2) {
        const std::wstring name = argv[i];
        const bool isKnown = std::any_of(known.begin(), known.end(), [&](const wchar_t* k) { return name == k; });
        if (!isKnown || i + 1 >= argc) throw BenchError("bad option " + Utf8(name));
        values_[name] = argv[i + 1];
    }
}

int Options::Int(const wchar_t* name, int fallback) const {
    auto it = values_.find(name);
    if (it == values_.end()) return fallback;
    std::size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(it->second, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != it->second.size()) throw BenchError("bad number " + Utf8(it->second));
    return value;
}

std::wstring Options::Text(const wchar_t* name, const std::wstring& fallback) const {
    auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

ResultLine& ResultLine::Add(const char* key, double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return Add(key, std::string(buffer));
}

ResultLine& ResultLine::Add(const char* key, std::uint64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%" PRIu64, value);
    return Add(key, std::string(buffer));
}

ResultLine& ResultLine::Add(const char* key, const std::string& value) {
    text_.append(" ").append(key).append("=").append(value);
    return *this;
}

void ResultLine::Print(FILE* out) const {
    std::fprintf(out, "%s\n", text_.c_str());
    std::fflush(out);
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

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;  // only destroyed bench windows post it
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (milliseconds) Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

void TakeQuit() { Pump(0); }

std::wstring InternalText(HWND window) {
    wchar_t text[256] = {};
    InternalGetWindowText(window, text, 256);
    return text;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring StatusText(HWND statusBar) {
    // The simple text: Windows answers it for SB_SIMPLEID, Wine for part 0 while in simple mode.
    for (WPARAM part : {static_cast<WPARAM>(SB_SIMPLEID), static_cast<WPARAM>(0)}) {
        const auto length = LOWORD(SendMessageW(statusBar, SB_GETTEXTLENGTHW, part, 0));
        if (length == 0) continue;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(statusBar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
        text.resize(length);
        return text;
    }
    return std::wstring();
}

void ClickFlat(HWND button) {
    RECT r;
    GetClientRect(button, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    SendMessageW(button, WM_MOUSEMOVE, 0, at);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(button, WM_LBUTTONUP, 0, at);
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

MemoryFigures ProcessMemory() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    MemoryFigures figures;
    // kernel32's own export (Windows 7 and later, and Wine): no psapi library to link.
    if (K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof(counters))) {
        figures.workingSet = counters.WorkingSetSize;
        figures.privateBytes = counters.PrivateUsage;
    }
    return figures;
}

std::wstring WithSeparator(std::wstring path) {
    if (path.empty() || path.back() != L'\\') path.push_back(L'\\');
    return path;
}

void MakeFolders(const std::wstring& folder) {
    const std::wstring path = WithSeparator(folder);
    for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        const std::wstring part = path.substr(0, at);
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            throw BenchError("cannot make folder " + Utf8(part));
    }
}

void MakeFlatFiles(const std::wstring& folder, const std::wstring& prefix, const std::wstring& suffix,
                   std::size_t count, std::uint32_t size) {
    MakeFolders(folder);
    const std::wstring base = WithSeparator(folder);
    const std::vector<char> bytes(size, 'q');
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring path = base + prefix + std::to_wstring(i) + suffix;
        KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        if (!file.Valid()) throw BenchError("cannot create " + Utf8(path));
        DWORD written = 0;
        if (size != 0 && (!WriteFile(file.Get(), bytes.data(), size, &written, nullptr) || written != size))
            throw BenchError("cannot write " + Utf8(path));
    }
}

std::size_t CountEntries(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((WithSeparator(folder) + L"*").c_str(), &data));
    if (!find.Valid()) return 0;
    std::size_t count = 0;
    do {
        const std::wstring_view name = data.cFileName;
        if (name != L"." && name != L"..") ++count;
    } while (FindNextFileW(find.Get(), &data));
    return count;
}

void RemoveTree(const std::wstring& folderText) {
    const std::wstring folder = WithSeparator(folderText);
    {
        WIN32_FIND_DATAW data;
        FindHandle find(FindFirstFileW((folder + L"*").c_str(), &data));
        if (find.Valid()) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(folder + name);
                } else {
                    SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW((folder + name).c_str());
                }
            } while (FindNextFileW(find.Get(), &data));
        }
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace qorvani::bench
