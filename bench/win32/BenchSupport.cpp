#include "BenchSupport.h"

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cinttypes>
#include <cstdlib>
#include <string>
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

std::wstring InternalText(HWND window) {
    wchar_t text[256] = {};
    InternalGetWindowText(window, text, 256);
    return text;
}

namespace {

// A whole small file (the files under /proc tell no size: read until the end).
std::string FileText(const std::wstring& path) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  0, nullptr));
    std::string text;
    if (!file.Valid()) return text;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) && read > 0) text.append(chunk, read);
    return text;
}

std::wstring& LinuxStatusPath() {
    static std::wstring path;
    return path;
}

// Under Wine a Windows program is a Linux process: its kernel's own figures are in
// /proc/PID/status (Z: is the Linux root; /proc/self would name the wineserver, which opens the
// files). RssAnon: the private pages the process has written, its heap among them. 0 where
// there is no such file (Windows).
std::uint64_t LinuxAnonymousBytes() {
    if (LinuxStatusPath().empty()) return 0;
    const std::string text = FileText(LinuxStatusPath());
    const std::size_t at = text.find("RssAnon:");
    if (at == std::string::npos) return 0;
    return std::strtoull(text.c_str() + at + 8, nullptr, 10) * 1024;  // in kB
}

}  // namespace

bool FindOwnLinuxProcess(const std::wstring& token) {
    const std::string wanted = Utf8(token);
    WIN32_FIND_DATAW found;
    FindHandle find(FindFirstFileExW(L"Z:\\proc\\*", FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!find.Valid()) return false;
    do {
        const std::wstring name = found.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        if (FileText(L"Z:\\proc\\" + name + L"\\cmdline").find(wanted) == std::string::npos) continue;
        LinuxStatusPath() = L"Z:\\proc\\" + name + L"\\status";
        return true;
    } while (FindNextFileW(find.Get(), &found));
    return false;
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
    figures.linuxAnonymous = LinuxAnonymousBytes();
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

}  // namespace qorvani::bench
