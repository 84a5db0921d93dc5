#pragma once
// Helpers of the robustness suite: the fixture trees made from Linux, whole-tree snapshots
// (paths, sizes, content hashes) compared before and after, the trash, child processes, real
// input, and the suite's figures.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "DriveSupport.h"

namespace robust {

// An environment variable of this process; empty when unset.
std::wstring Environment(const wchar_t* name);

// --- fixtures -----------------------------------------------------------------------------------
// The folder that tests/windows/make_fixtures.sh filled, as a Windows path ending in "\"
// (QORVANI_FIXTURES holds it; a Unix path is read through Wine's drive Z:). Empty when unset.
std::wstring FixtureRoot();
// FixtureRoot() + name + "\"; empty when the fixtures or that tree are missing.
std::wstring Fixture(const std::wstring& name);
// True when whoever started the tests made the fixtures (QORVANI_FIXTURES_REQUIRED set to
// anything but 0, as the test command does): a tree found missing is then a failure, not a skip.
bool FixturesRequired();
// What a test that finds the named tree missing reports.
std::string MissingFixture(const std::wstring& name);
// A Windows path for a folder given as a Unix path (through Wine's drive Z:, the whole Linux
// file system) or as a Windows one, ending in "\"; empty for an empty one.
std::wstring FolderOf(std::wstring path);
// True in the soak run (QORVANI_SOAK set to anything but 0).
bool Soak();
// Which copy of the delete trees this run uses (QORVANI_FIXTURE_COPY, default 1).
std::wstring CopySuffix();

// In a test: the named fixture tree. When it is missing the test fails if the fixtures were made
// for this run (FixturesRequired), and is skipped otherwise.
#define NEED_FIXTURE(var, name)                                 \
    const std::wstring var = ::robust::Fixture(name);           \
    if (var.empty() && ::robust::FixturesRequired())            \
        FAIL() << ::robust::MissingFixture(name);               \
    else if (var.empty())                                       \
        GTEST_SKIP() << ::robust::MissingFixture(name)

// --- snapshots ----------------------------------------------------------------------------------
enum class EntryKind { File, Folder, Link };
struct Entry {
    std::wstring path;  // relative to the snapshot's root, folders ending in "\"
    EntryKind kind;
    std::uint64_t size;
    std::uint64_t hash;  // of the contents, for files up to 64 MiB; 0 otherwise
    bool operator<(const Entry& other) const {
        return std::tie(path, kind, size, hash) < std::tie(other.path, other.kind, other.size, other.hash);
    }
    bool operator==(const Entry& other) const {
        return path == other.path && kind == other.kind && size == other.size && hash == other.hash;
    }
};
// Several entries may share a path here: Wine lists names that Windows cannot tell apart.
using Snapshot = std::multiset<Entry>;

// Every entry under root, read through "\\?\" paths so that depth and length do not stop it;
// folder links are recorded, not followed.
Snapshot TakeSnapshot(const std::wstring& root);
std::uint64_t HashFile(const std::wstring& path);
// The whole content of a file, empty when it cannot be read.
std::string FileBytes(const std::wstring& path);

// Compares two snapshots of one tree: after must equal before less exactly the entries in gone.
// Counts the files looked at and the unintended losses into the suite's figures, and describes
// every difference in report.
struct TreeComparison {
    std::size_t filesChecked = 0;
    std::size_t unintendedLosses = 0;  // present before, not meant to go, missing or changed after
    std::size_t unexpected = 0;        // present after and not before (new or changed)
    std::size_t notGone = 0;           // meant to go and still there
    std::wstring report;
    bool Same() const { return unintendedLosses == 0 && unexpected == 0 && notGone == 0; }
};
TreeComparison CompareTrees(const Snapshot& before, const Snapshot& after, const Snapshot& gone);

// --- the trash (Wine's freedesktop trash) -----------------------------------------------------
// Its files folder, ending in "\": $XDG_DATA_HOME/Trash/files when the session sets
// XDG_DATA_HOME (the scripts give each run its own), else ~/.local/share/Trash/files in the Unix
// home (WINEHOMEDIR). Empty when neither is known (not under Wine).
std::wstring TrashFiles();
// Names and hashes of what the trash holds.
std::multiset<std::pair<std::wstring, std::uint64_t>> TrashContents();
// The name a file had before the trash renamed it to avoid a clash.
std::wstring TrashBaseName(const std::wstring& trashName);
// Removes these names from the trash, also as renamed there (files and their .trashinfo records).
void RemoveFromTrash(const std::vector<std::wstring>& names);

// --- message boxes ------------------------------------------------------------------------------
// The delete question is answered, and every other box closed and recorded, by the shared
// qorvani::drive::DeleteAnswerer (tests/support/DeleteAnswerer.h).

// --- real input ---------------------------------------------------------------------------------
void RealClickAt(POINT screen);
void RealClick(HWND window);  // at its centre
void RealKey(WORD key, bool shifted = false);
void RealMouseNudge();
// A point of the window's frame where the system reports the close box, in screen coordinates.
bool CloseBoxPoint(HWND window, POINT& screen);

// --- processes ----------------------------------------------------------------------------------
std::wstring BesideSelf(const std::wstring& fileName);
// A child process that holds a file open without delete sharing (the test program's --hold mode)
// until the object ends.
class FileHolder {
public:
    explicit FileHolder(const std::wstring& path);
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;
    bool Holding() const { return holding_; }

private:
    PROCESS_INFORMATION process_{};
    bool holding_ = false;
};

// This program started again in one of its helper modes (main.cpp) with the given arguments; with
// a ready event named, it is started once the child has signalled it. Ended at destruction if it
// still runs.
class HelperProcess {
public:
    explicit HelperProcess(const std::wstring& arguments, const std::wstring& readyEvent = L"");
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;
    bool Started() const { return started_; }
    HANDLE Process() const { return process_.hProcess; }
    // Its exit code once it has ended (-1 while it runs).
    int ExitCode() const;

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// One test of this program run again in a child process, with extra environment variables and
// QORVANI_CHILD_RUN=1 set (for what a process reads from its environment when it starts, such as
// Wine's trash folder). Gives the child's exit code (-1 when it did not start or not end in time)
// and everything it printed.
struct ChildRun {
    int exitCode = -1;
    std::string output;
};
ChildRun RunTestInChild(const std::string& testName, const std::vector<std::pair<std::wstring, std::wstring>>& environment,
                        DWORD timeoutMs);
// True in such a child.
bool InChildRun();

// --- texts --------------------------------------------------------------------------------------
inline std::wstring Upper(const std::wstring& text) { return qorvani::drive::SystemUpper(text); }
inline std::string Narrow(const std::wstring& text) { return qorvani::drive::Utf8(text); }  // for messages

// --- the suite's figures ------------------------------------------------------------------------
// Counted while the cases run and printed as one summary line when the program ends.
struct Figures {
    std::atomic<int> cases{0};          // test cases of the suite that ran
    std::atomic<int> scenarios{0};      // single runs inside them (a closing point, a storm...)
    std::atomic<long long> filesChecked{0};
    std::atomic<int> unintendedDeletions{0};
    std::atomic<int> crashes{0};
    std::atomic<int> hangs{0};
};
Figures& Counts();
// Marks the start of a case: counted, and its name kept for the summary.
void CaseRuns(const char* name);
// Adds a comparison's figures; returns it for EXPECTs, by value (it is often a temporary).
TreeComparison Count(TreeComparison comparison);

}  // namespace robust
