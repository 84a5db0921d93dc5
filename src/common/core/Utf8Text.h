#pragma once
// Text for files and pipes: UTF-8, CSV fields (RFC 4180) and JSON strings. A name that is not
// valid UTF-16 (an unpaired surrogate, which Windows names may hold) is escaped, never dropped:
// in JSON as "\udXXX", as JSON has it; elsewhere as "<U+DXXX>", which no Windows path can hold
// otherwise ('<' is forbidden in names).
#include <string>
#include <string_view>

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

}  // namespace qorvani
