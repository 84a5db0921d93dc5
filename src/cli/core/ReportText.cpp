#include "cli/core/ReportText.h"

#include <cstdio>

#include "common/core/Texts.h"
#include "scan/core/FileTimes.h"
#include "scan/core/NumberText.h"
#include "scan/core/ScanCommand.h"

namespace qorvani {

namespace {

std::string Ascii(std::wstring_view text) {
    std::string out;
    for (const wchar_t c : text) out += static_cast<char>(c);
    return out;
}

}  // namespace

std::string HeaderLine(ReportFormat format) {
    return format == ReportFormat::Csv ? "path,size,last_write_utc,mask\r\n" : std::string();
}

std::string RecordLine(ReportFormat format, const FoundRecord& record) {
    const std::wstring time = record.lastWrite ? IsoUtcText(*record.lastWrite) : std::wstring();
    const std::string size = std::to_string(record.size);
    switch (format) {
    case ReportFormat::Csv:
        return CsvField(record.path) + "," + size + "," + Ascii(time) + "," + CsvField(record.mask) + "\r\n";
    case ReportFormat::Json:
        return "{\"type\":\"file\",\"path\":" + JsonString(record.path) + ",\"size\":" + size +
               ",\"last_write_utc\":" + (record.lastWrite ? "\"" + Ascii(time) + "\"" : std::string("null")) +
               ",\"mask\":" + JsonString(record.mask) + "}\n";
    case ReportFormat::Text:
        break;
    }
    std::wstring kb = FormatFileSize(record.size);  // the window's size cell, in KB
    kb.erase(0, kb.find_first_not_of(L' '));
    kb.erase(kb.find_last_not_of(L' ') + 1);
    return Utf8Escaped(record.path + L"  " + kb + L" KB  " + time + L"  " + record.mask) + "\n";
}

std::string SummaryLines(ReportFormat format, const ScanSummary& summary) {
    if (format == ReportFormat::Json) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f", summary.milliseconds / 1000.0);
        return "{\"type\":\"summary\",\"files\":" + std::to_string(summary.files) +
               ",\"bytes\":" + std::to_string(summary.bytes) + ",\"seconds\":" + seconds +
               ",\"unlisted_folders\":" + std::to_string(summary.unlistedFolders) +
               ",\"stopped\":" + (summary.stopped ? "true" : "false") + "}\n";
    }
    std::wstring text = ScanReportText(static_cast<std::size_t>(summary.files), summary.bytes, summary.milliseconds);
    text += L"\n" + std::wstring(text::kUnlistedFoldersPrefix) + NumberText(summary.unlistedFolders) + text::kFilesUnit;
    if (summary.stopped) text += L"\n" + std::wstring(text::kStoppedNote);
    return Utf8Escaped(text) + "\n";
}

}  // namespace qorvani
