#pragma once
// How the console programs write what they found: one record per file as it is found, then one
// summary, as text for people (the window's words), CSV (RFC 4180) or JSON lines for programs.
// Every text is UTF-8 in the end; a name that is not valid UTF-16 (an unpaired surrogate, which
// Windows names may hold) is escaped, never dropped: in JSON as "\udXXX", as JSON has it; in CSV
// and text as "<U+DXXX>", which no Windows path can hold otherwise ('<' is forbidden in names).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/core/CliArguments.h"

namespace qorvani {

// UTF-8 of text, an unpaired surrogate written as "<U+DXXX>".
std::string Utf8Escaped(std::wstring_view text);
// The same text as UTF-16 for a console, an unpaired surrogate written as "<U+DXXX>".
std::wstring ConsoleEscaped(std::wstring_view text);

// One CSV field: quoted when it holds a comma, a quote, a line break, or starts or ends with a
// space (which some readers trim), its quotes doubled.
std::string CsvField(std::wstring_view text);
// One JSON string, quotes included.
std::string JsonString(std::wstring_view text);

struct FoundRecord {
    std::wstring path;  // exact: folder as walked and name as listed
    std::size_t nameAt = 0;  // where the name starts in path
    std::uint64_t size = 0;
    std::optional<std::uint64_t> lastWrite;  // FILETIME ticks, UTC
    std::wstring mask;                       // the catalogue's mask that matched
};

struct ScanSummary {
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    std::uint32_t milliseconds = 0;
    std::uint64_t unlistedFolders = 0;
    bool stopped = false;
};

// The line before the first record: CSV's header row; nothing for the other formats.
std::string HeaderLine(ReportFormat format);
// One found file's line, with its line end.
std::string RecordLine(ReportFormat format, const FoundRecord& record);
// The summary's line(s), with line ends. For CSV it is text, meant for stderr so that the
// standard output stays one table.
std::string SummaryLines(ReportFormat format, const ScanSummary& summary);

}  // namespace qorvani
