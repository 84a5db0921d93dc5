#pragma once
// How the console programs write what they found: one record per file as it is found, then one
// summary, as text for people (the window's words), CSV (RFC 4180) or JSON lines for programs,
// every name kept exactly (common/core/Utf8Text).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/core/CliArguments.h"
#include "common/core/Utf8Text.h"

namespace qorvani {

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
