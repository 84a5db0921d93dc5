#pragma once
// Shared pieces of the Windows benchmark driver: a clock, medians, result lines, message pumps,
// mouse clicks on the real controls, process memory and small file-system helpers.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "DriveSupport.h"
#include "MainWindowHost.h"

namespace qorvani::bench {

// A failure of the benchmark itself (a mismatch, a missing tree): reported, exit code 1.
class BenchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The performance counter in milliseconds since an arbitrary start.
double NowMs();
// A reading of the performance counter (QueryPerformanceCounter) on NowMs's scale.
double CounterMs(LONGLONG counter);

double Median(std::vector<double> values);

// "key value" options after the subcommand's root; only the given names are accepted.
class Options {
public:
    Options(int argc, wchar_t** argv, int first, std::initializer_list<const wchar_t*> known);
    int Int(const wchar_t* name, int fallback) const;
    std::wstring Text(const wchar_t* name, const std::wstring& fallback) const;
    bool Has(const wchar_t* name) const { return values_.count(name) != 0; }

private:
    std::map<std::wstring, std::wstring> values_;
};

// One machine-readable line: the tag, then key=value pairs in the order added.
class ResultLine {
public:
    explicit ResultLine(std::string tag) : text_(std::move(tag)) {}
    ResultLine& Add(const char* key, double value, int decimals = 1);
    ResultLine& Add(const char* key, std::uint64_t value);
    ResultLine& Add(const char* key, const std::string& value);
    void Print(FILE* out = stdout) const;
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

using drive::Utf8;
using drive::Wide;

// Sent (not posted): the command a click starts runs inside ClickFlat.
using drive::ClickFlat;
using drive::Pump;
using drive::RemoveTree;
using drive::SendRealClick;
using drive::StatusText;

// The caption of a window without sending it a message (safe from another thread).
std::wstring InternalText(HWND window);

struct MemoryFigures {
    std::uint64_t workingSet = 0;
    std::uint64_t privateBytes = 0;    // PrivateUsage: Windows' own figure (Wine gives 0)
    std::uint64_t linuxAnonymous = 0;  // under Wine: the Linux process's RssAnon (0 on Windows, or
                                       // before FindOwnLinuxProcess)
};
MemoryFigures ProcessMemory();
// Under Wine: finds this program's Linux process by a text only its command line holds (so that
// ProcessMemory can read its RssAnon); false on Windows.
bool FindOwnLinuxProcess(const std::wstring& token);

// A folder path that ends in "\".
std::wstring WithSeparator(std::wstring path);
// Creates folder (and its parents); throws BenchError when it cannot.
void MakeFolders(const std::wstring& folder);
// count files folder + prefix + index + suffix of size bytes each; creation is not timed.
void MakeFlatFiles(const std::wstring& folder, const std::wstring& prefix, const std::wstring& suffix,
                   std::size_t count, std::uint32_t size);
// Entries in folder, "." and ".." left out.
std::size_t CountEntries(const std::wstring& folder);

}  // namespace qorvani::bench
