// The delete's look-ups: exact names at the cost of one attribute look-up per call.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "clean/core/ExactLookup.h"

using namespace qorvani;

namespace {

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

// Case-sensitive folders looked up the way Wine does: the exact name first, else any other
// spelling. Errors can be set per path.
class FakeProbe : public EntryProbe {
public:
    std::map<std::wstring, EntryStamp> entries;  // full path -> stamp
    std::map<std::wstring, std::uint32_t> errors;         // of look-ups and listings
    std::map<std::wstring, std::uint32_t> listingErrors;  // of listings only
    std::set<std::wstring> folders;  // that can be listed: every folder a file was put in
    std::vector<std::wstring> stamps, listings, reaches;  // every call, in order

    void File(const std::wstring& path, std::uint64_t written, std::uint64_t size = 1) {
        entries[path] = {false, size, 7, written};
        folders.insert(path.substr(0, path.find_last_of(L'\\') + 1));
    }

    std::uint32_t Stamp(const std::wstring& path, EntryStamp& stamp) override {
        stamps.push_back(path);
        if (errors.count(path)) return errors[path];
        if (entries.count(path)) {
            stamp = entries[path];
            return 0;
        }
        for (const auto& [entry, value] : entries)
            if (Lower(entry) == Lower(path)) {
                stamp = value;
                return 0;
            }
        return 2;
    }
    std::uint32_t List(const std::wstring& pattern, std::vector<ListedEntry>& listed) override {
        listings.push_back(pattern);
        if (errors.count(pattern)) return errors[pattern];
        if (listingErrors.count(pattern)) return listingErrors[pattern];
        const bool folder = pattern.back() == L'*';
        const std::wstring prefix = pattern.substr(0, pattern.size() - 1);
        for (const auto& [entry, value] : entries) {
            const std::size_t split = entry.find_last_of(L'\\');
            if (folder ? entry.substr(0, split + 1) == prefix : Lower(entry) == Lower(pattern)) {
                if (listed.size() == cutAfter) return 64;  // the network name is no longer there
                listed.push_back({entry.substr(split + 1), value});
            }
        }
        return listed.empty() ? 2 : 0;
    }
    std::uint32_t Reach(const std::wstring& pattern) override {
        reaches.push_back(pattern);
        if (errors.count(pattern)) return errors[pattern];
        if (listingErrors.count(pattern)) return listingErrors[pattern];
        return folders.count(pattern.substr(0, pattern.size() - 1)) ? 0 : 3;
    }
    std::size_t cutAfter = SIZE_MAX;  // listings fail after this many entries
};

const std::wstring F = L"Z:\\t\\";

TEST(ExactLookup, OnlyNotFoundIsMissing) {
    FakeProbe probe;
    probe.errors[F + L"denied.tmp"] = 5;
    probe.errors[L"\\\\srv\\share\\x.tmp"] = 53;  // bad network path
    probe.File(F + L"locked.tmp", 1);
    probe.listingErrors[F + L"locked.tmp"] = 5;   // answers the look-up, cannot be listed
    ExactLookup lookup(probe);
    EXPECT_EQ(lookup.Inspect(F + L"gone.tmp"), PathKind::Missing);
    EXPECT_EQ(lookup.Inspect(L"Z:\\nofolder\\gone.tmp"), PathKind::Unknown);  // no folder to prove it
    EXPECT_EQ(lookup.Inspect(F + L"denied.tmp"), PathKind::Unknown);
    EXPECT_EQ(lookup.Inspect(L"\\\\srv\\share\\x.tmp"), PathKind::Unknown);
    EXPECT_EQ(lookup.Inspect(F + L"locked.tmp"), PathKind::Unknown);
}

TEST(ExactLookup, AnotherSpellingIsNeverTakenForTheListedName) {
    FakeProbe probe;
    probe.File(F + L"CASE.tmp", 1);
    probe.File(F + L"case.tmp", 2);
    ExactLookup lookup(probe);
    // Case.tmp is gone; the look-up answers with another spelling, the listing says it is not there.
    EXPECT_EQ(lookup.Inspect(F + L"Case.tmp"), PathKind::Missing);
    EXPECT_EQ(lookup.Inspect(F + L"CASE.tmp"), PathKind::PlainFile);  // second look: the folder is listed
    EXPECT_EQ(lookup.Inspect(F + L"Case.tmp"), PathKind::Missing);
    EXPECT_EQ(lookup.Inspect(F + L"case.tmp"), PathKind::PlainFile);
}

TEST(ExactLookup, AFolderIsListedOnceAndOnlyWhatMatchesItsRecordCostsNoListing) {
    FakeProbe probe;
    for (int i = 0; i < 50; ++i) probe.File(F + L"f" + std::to_wstring(i) + L".tmp", 100 + i);
    probe.File(F + L"Notes.bak", 10);
    probe.File(L"Z:\\u\\alone.tmp", 1);
    ExactLookup lookup(probe);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(lookup.Inspect(F + L"f" + std::to_wstring(i) + L".tmp"), PathKind::PlainFile);
    EXPECT_EQ(lookup.Inspect(L"Z:\\u\\alone.tmp"), PathKind::PlainFile);
    EXPECT_EQ(probe.stamps.size(), 51u);
    EXPECT_EQ(probe.listings, (std::vector<std::wstring>{F + L"f0.tmp", F + L"*", L"Z:\\u\\alone.tmp"}));

    // Since the listing: Notes.bak went and another spelling came; f1.tmp was written to; f2.tmp
    // became a folder. None matches its record, so each is listed by its own name.
    probe.entries.erase(F + L"Notes.bak");
    probe.File(F + L"NOTES.BAK", 11);
    probe.File(F + L"f1.tmp", 999, 5);
    probe.entries[F + L"f2.tmp"] = {true, 0, 7, 102};
    EXPECT_EQ(lookup.Inspect(F + L"Notes.bak"), PathKind::Missing);
    EXPECT_EQ(lookup.Inspect(F + L"f1.tmp"), PathKind::PlainFile);
    EXPECT_EQ(lookup.Inspect(F + L"f2.tmp"), PathKind::Folder);
    EXPECT_EQ(probe.listings.size(), 6u);
}

TEST(ExactLookup, AfterTheCallsAFolderOfSeveralRowsIsListedOnceMore) {
    FakeProbe probe;
    for (const wchar_t* name : {L"Case.tmp", L"CASE.tmp", L"b.tmp", L"locked.tmp"}) probe.File(F + name, 1);
    probe.File(L"Z:\\u\\alone.tmp", 1);
    ExactLookup lookup(probe);
    for (const wchar_t* name : {L"Case.tmp", L"b.tmp", L"locked.tmp"}) EXPECT_EQ(lookup.Inspect(F + name), PathKind::PlainFile);
    EXPECT_EQ(lookup.Inspect(L"Z:\\u\\alone.tmp"), PathKind::PlainFile);
    // The calls: all but locked.tmp went; CASE.tmp, never checked, answers to Case.tmp now.
    probe.entries.erase(F + L"Case.tmp");
    probe.entries.erase(F + L"b.tmp");
    probe.entries.erase(L"Z:\\u\\alone.tmp");
    const std::size_t stamps = probe.stamps.size(), listings = probe.listings.size();

    EXPECT_EQ(lookup.InspectAfterCalls(F + L"Case.tmp"), PathKind::Missing);
    EXPECT_EQ(lookup.InspectAfterCalls(F + L"b.tmp"), PathKind::Missing);
    EXPECT_EQ(lookup.InspectAfterCalls(F + L"locked.tmp"), PathKind::PlainFile);
    EXPECT_EQ(probe.stamps.size(), stamps);  // no look-up per row: one listing of the folder
    ASSERT_EQ(probe.listings.size(), listings + 1);
    EXPECT_EQ(probe.listings.back(), F + L"*");
    // A row alone in its folder is looked up on its own.
    EXPECT_EQ(lookup.InspectAfterCalls(L"Z:\\u\\alone.tmp"), PathKind::Missing);
    EXPECT_EQ(probe.stamps.size(), stamps + 1);
}

// A delete of six checked rows whose listing after the calls breaks off after its first entry
// (the share went away midway). Only what it reached tells anything: every row past that point
// stays listed and is counted as not deleted, the two files still there among them.
TEST(ExactLookup, AListingCutShortIsNoProofOfAbsence) {
    struct Shell : FileShell {
        FakeProbe probe;
        ExactLookup lookup{probe};
        PathKind Inspect(const std::wstring& path) override { return lookup.Inspect(path); }
        PathKind InspectAfterCalls(const std::wstring& path) override {
            probe.cutAfter = 1;
            return lookup.InspectAfterCalls(path);
        }
        int DeleteOneFile(const std::wstring& path, std::uint16_t) override {
            if (path.find(L"locked") != std::wstring::npos) return 32;
            probe.entries.erase(path);
            return 0;
        }
    } shell;
    struct Window : DeleteView {
        std::wstring status;
        DeleteAnswer AskDeleteConfirmation() override { return DeleteAnswer::Yes; }
        void RowsKept() override {}
        void SetResultCaption(std::wstring_view) override {}
        void SetStatusText(std::wstring_view text) override { status = text; }
    } window;
    ResultStore rows;
    for (const wchar_t* name : {L"a.tmp", L"b.tmp", L"locked1.tmp", L"c.tmp", L"locked2.tmp"}) {
        shell.probe.File(F + name, 1);
        rows.Append(F, name, 1);
        rows.SetChecked(rows.Count() - 1, true);
    }

    Pacing unpaced;
    DeleteCommandClick(window, rows, shell, unpaced);

    // Listed in name order, the cut listing reached c.tmp alone; locked1 and locked2 are still there.
    ASSERT_EQ(rows.Count(), 5u);
    EXPECT_EQ(rows.Name(4), L"locked2.tmp");
    EXPECT_EQ(window.status, L"删除文件 0个 未能删除 5个");

    // Directly: a name the cut listing reached answers by it; one it did not reach is unknown.
    FakeProbe probe;
    for (const wchar_t* name : {L"a.tmp", L"b.tmp", L"c.tmp"}) probe.File(F + name, 1);
    ExactLookup lookup(probe);
    for (const wchar_t* name : {L"a.tmp", L"b.tmp", L"c.tmp"}) EXPECT_EQ(lookup.Inspect(F + name), PathKind::PlainFile);
    probe.entries.erase(F + L"b.tmp");
    probe.cutAfter = 1;
    EXPECT_EQ(lookup.InspectAfterCalls(F + L"a.tmp"), PathKind::PlainFile);
    EXPECT_EQ(lookup.InspectAfterCalls(F + L"b.tmp"), PathKind::Unknown);
    EXPECT_EQ(lookup.InspectAfterCalls(F + L"c.tmp"), PathKind::Unknown);
}

TEST(ExactLookup, AfterTheCallsAFolderThatCannotBeListed) {
    for (std::uint32_t error : {3u, 5u}) {
        FakeProbe probe;
        for (const wchar_t* name : {L"a.tmp", L"b.tmp"}) probe.File(F + name, 1);
        ExactLookup lookup(probe);
        for (const wchar_t* name : {L"a.tmp", L"b.tmp"}) EXPECT_EQ(lookup.Inspect(F + name), PathKind::PlainFile);
        probe.listingErrors[F + L"*"] = error;
        probe.entries.erase(F + L"a.tmp");
        if (error == 3)  // the drive went away: every path on it is not found
            for (const wchar_t* name : {L"a.tmp", L"b.tmp"}) probe.errors[F + name] = 3;
        // Each row is then looked up on its own; neither a path not found nor a name not found in
        // a folder that cannot be listed proves anything.
        EXPECT_EQ(lookup.InspectAfterCalls(F + L"a.tmp"), PathKind::Unknown);
        EXPECT_EQ(lookup.InspectAfterCalls(F + L"b.tmp"), error == 3 ? PathKind::Unknown : PathKind::PlainFile);
    }
}

TEST(ExactLookup, OnlyAFolderStillThereProvesAFileGone) {
    FakeProbe probe;
    probe.File(F + L"here.tmp", 1);
    ExactLookup lookup(probe);
    // The folder answers, without the name: gone.
    EXPECT_EQ(lookup.Inspect(F + L"gone.tmp"), PathKind::Missing);
    // The drive letter or the folder is not there (path not found): unknown, before and after.
    probe.errors[F + L"here.tmp"] = 3;
    probe.errors[L"Q:\\gone\\x.tmp"] = 3;
    EXPECT_EQ(lookup.Inspect(F + L"here.tmp"), PathKind::Unknown);
    EXPECT_EQ(lookup.InspectAfterCalls(L"Q:\\gone\\x.tmp"), PathKind::Unknown);
}

// A drive letter whose target went away (a dangling link under Wine) answers "file not found"
// for the names in its root, by look-up and by listing, but its root cannot be listed: no proof.
// An empty root that is there answers "file not found" to its listing too, and does prove.
TEST(ExactLookup, NotFoundInARootThatCannotBeListedProvesNothing) {
    FakeProbe probe;
    for (const wchar_t* name : {L"a.tmp", L"b.tmp", L"c.tmp"}) probe.File(std::wstring(L"Q:\\") + name, 1);
    probe.File(L"E:\\only.tmp", 1);
    ExactLookup lookup(probe);
    for (const wchar_t* name : {L"a.tmp", L"b.tmp"}) EXPECT_EQ(lookup.Inspect(std::wstring(L"Q:\\") + name), PathKind::PlainFile);
    EXPECT_EQ(lookup.Inspect(L"E:\\only.tmp"), PathKind::PlainFile);

    // Q: leads nowhere now; E: is there, and empty.
    probe.entries.clear();
    probe.folders.erase(L"Q:\\");
    probe.listingErrors[L"Q:\\*"] = 3;
    probe.listingErrors[L"E:\\*"] = 2;
    EXPECT_EQ(lookup.InspectAfterCalls(L"Q:\\a.tmp"), PathKind::Unknown);  // after a listing of the folder
    EXPECT_EQ(lookup.InspectAfterCalls(L"Q:\\b.tmp"), PathKind::Unknown);
    EXPECT_EQ(lookup.Inspect(L"Q:\\c.tmp"), PathKind::Unknown);            // by its own look-up
    EXPECT_EQ(lookup.InspectAfterCalls(L"E:\\only.tmp"), PathKind::Missing);
}

}  // namespace
