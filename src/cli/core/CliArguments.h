#pragma once
// The console programs' command line: what to scan, which files to keep, how to report, and how
// to delete. Parsed once, before anything is read.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qorvani {

// The exit codes, as documented for scripts and schedulers.
enum class ExitCode : int {
    Done = 0,
    SomeKept = 1,     // clean: some selected files were not deleted
    Usage = 2,        // a wrong command line, or a question that no console can answer
    NothingRead = 3,  // not one scan root could be listed
    Stopped = 4,      // Ctrl+C or Ctrl+Break
};

enum class CliCommand { Scan, Clean, Help, Version };
enum class ReportFormat { Text, Csv, Json };

struct CliRequest {
    CliCommand command = CliCommand::Help;
    std::vector<std::wstring> paths;
    bool allDrives = false;
    // The chosen masks as the catalogue writes them, in the catalogue's order; all of it when
    // none was named.
    std::vector<std::wstring> masks;
    std::optional<std::uint32_t> olderThanDays;
    std::vector<std::wstring> excludes;
    ReportFormat format = ReportFormat::Text;
    bool forGood = false;  // clean: --for-good; --recycle (the default) otherwise
    bool yes = false;      // clean: no question
};

struct ParsedArguments {
    std::optional<CliRequest> request;
    std::wstring error;  // when there is no request: what was wrong, for the usage message
};

// The most days --older-than takes (about 270 years: the oldest FILETIME is 1601).
inline constexpr std::uint32_t kMostDays = 100'000;

// Parses the arguments after the program's name. catalogue: the catalogue's masks in its order.
// Options take their value as the next argument or after '=' ("--mask=*.tmp").
ParsedArguments ParseArguments(const std::vector<std::wstring>& arguments, const std::vector<std::wstring>& catalogue);

// The --help text; program: the name its usage lines begin with.
std::wstring UsageText(const std::wstring& program, const std::vector<std::wstring>& catalogue);

}  // namespace qorvani
