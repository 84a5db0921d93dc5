#pragma once
// Looks a row's path up by its exact name, before and after its shell call, at the cost of one
// attribute look-up per call in the common case.
//
// An attribute look-up answers for every spelling of a name (another case in a case-sensitive
// folder, a short 8.3 name), so alone it cannot say that the file there is the listed one. A
// listing gives the names as stored. A folder is listed once, at its second row; after that, the
// attribute look-up right before each call must match what that listing recorded under exactly
// the row's name (folder flag, size, creation and write times), which no other file does. A row
// alone in its folder, or whose look-up does not match, is looked up by a listing of its own name.
//
// After the calls, a folder of several rows is listed once more, and a row is gone when that
// listing, run to its end, lacks its exact name. A folder that cannot be listed (gone with its
// drive, renamed, out of reach) proves nothing: its rows are looked up one by one, and stay
// unknown while their folder is not found. A listing cut short proves nothing of the names it did
// not reach: their rows are left as unknown. One listing for the folder costs less than an
// attribute look-up of each name that is gone, which makes the system search the folder for
// other spellings of it.
//
// "Not found" for a name is believed only while its folder can be listed: a drive letter whose
// target has gone may answer "file not found" for the names in its root.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "clean/core/DeleteCommand.h"

namespace qorvani {

// What tells one file from another that answers to the same name.
struct EntryStamp {
    bool folder = false;
    std::uint64_t size = 0;
    std::uint64_t created = 0;  // the system's time stamps, as they come
    std::uint64_t written = 0;
    bool operator==(const EntryStamp&) const = default;
};

struct ListedEntry {
    std::wstring name;  // as stored
    EntryStamp stamp;
};

// The file system as the look-up sees it. Paths come in LookupForm. Each call gives 0, or the
// system's error code. A listing gives 0 only when it reached its end; one cut short (a network
// error, a device gone) gives the error together with the entries it reached, and says nothing
// of the names it did not reach.
class EntryProbe {
public:
    virtual ~EntryProbe() = default;
    // What answers to the path now (GetFileAttributesExW).
    virtual std::uint32_t Stamp(const std::wstring& path, EntryStamp& stamp) = 0;
    // The entries that a listing of the pattern gives: a folder followed by "*", or one path.
    virtual std::uint32_t List(const std::wstring& pattern, std::vector<ListedEntry>& entries) = 0;
    // Whether a listing of the folder (a folder followed by "*") starts now; nothing is read past
    // its first entry. An empty drive root answers "file not found".
    virtual std::uint32_t Reach(const std::wstring& pattern) = 0;
};

// One delete pass's look-ups (what a folder's listing recorded is kept for the pass).
class ExactLookup {
public:
    explicit ExactLookup(EntryProbe& probe, wchar_t separator = L'\\') : probe_(probe), separator_(separator) {}
    PathKind Inspect(const std::wstring& path);       // before a row's call, and for a row alone
    PathKind InspectAfterCalls(const std::wstring& path);

private:
    struct Folder {
        int looks = 0;
        bool listed = false;
        std::map<std::wstring, EntryStamp, std::less<>> entries;
        bool relisted = false;        // after the calls
        std::uint32_t relistError = 0;
        bool relistCut = false;       // it failed after some entries: only those are known
        std::map<std::wstring, EntryStamp, std::less<>> now;
    };
    PathKind ListName(const std::wstring& lookup, const std::wstring& path, std::size_t split);
    // What a "not found" for the path means: gone while its folder can be listed, else unknown.
    PathKind NotFound(const std::wstring& path, std::size_t split);

    EntryProbe& probe_;
    wchar_t separator_;
    std::map<std::wstring, Folder, std::less<>> folders_;
};

}  // namespace qorvani
