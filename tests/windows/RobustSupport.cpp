#include "RobustSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <iterator>

namespace robust {

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[2048] = {};
    const DWORD length = GetEnvironmentVariableW(name, buffer, 2048);
    if (length == 0 || length >= 2048) return std::wstring();
    return buffer;
}

namespace {

std::wstring Long(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\", 0) == 0) return path;
    return L"\\\\?\\" + path;
}

std::wstring ShortText(const std::wstring& text) {
    return text.size() <= 80 ? text : text.substr(0, 60) + L"…(" + std::to_wstring(text.size()) + L")";
}

void SnapshotInto(const std::wstring& root, const std::wstring& relative, Snapshot& out) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((Long(root) + relative + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> folders;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::uint64_t size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            out.insert({relative + name, EntryKind::Link, 0, 0});
        } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.insert({relative + name + L"\\", EntryKind::Folder, 0, 0});
            folders.push_back(relative + name + L"\\");
        } else {
            // Empty files are not opened: a FIFO lists as one, and opening it would wait.
            const std::uint64_t hash = size == 0 || size > (64u << 20) ? 0 : HashFile(Long(root) + relative + name);
            out.insert({relative + name, EntryKind::File, size, hash});
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const std::wstring& folder : folders) SnapshotInto(root, folder, out);
}

std::wstring Describe(const Entry& entry) {
    const wchar_t* kind = entry.kind == EntryKind::File ? L"file" : entry.kind == EntryKind::Folder ? L"folder" : L"link";
    return std::wstring(kind) + L" " + ShortText(entry.path) + L" (" + std::to_wstring(entry.size) + L" bytes)";
}

class SummaryPrinter : public ::testing::Environment {
public:
    void TearDown() override {
        Figures& f = Counts();
        if (f.cases == 0) return;
        std::printf("robustness summary: cases run %d, scenarios %d, files checked %lld, unintended deletions %d, "
                    "crashes %d, hangs %d\n",
                    f.cases.load(), f.scenarios.load(), f.filesChecked.load(), f.unintendedDeletions.load(),
                    f.crashes.load(), f.hangs.load());
        std::fflush(stdout);
    }
};

::testing::Environment* const kSummary = ::testing::AddGlobalTestEnvironment(new SummaryPrinter);

}  // namespace

// --- fixtures -----------------------------------------------------------------------------------

std::wstring FolderOf(std::wstring path) {
    if (path.empty()) return path;
    if (path.front() == L'/') {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        path = L"Z:" + path;
    }
    if (path.back() != L'\\') path.push_back(L'\\');
    return path;
}

std::wstring FixtureRoot() { return FolderOf(Environment(L"QORVANI_FIXTURES")); }

bool FixturesRequired() {
    const std::wstring required = Environment(L"QORVANI_FIXTURES_REQUIRED");
    return !required.empty() && required != L"0";
}

std::string MissingFixture(const std::wstring& name) {
    if (FixtureRoot().empty())
        return "fixture " + Narrow(name) + " missing: QORVANI_FIXTURES is not set (run tests/windows/make_fixtures.sh "
               "FOLDER and set it to FOLDER)";
    return "fixture " + Narrow(name) + " missing from " + Narrow(FixtureRoot()) +
           (FixturesRequired() ? " (made for this run, yet not there)" : "");
}

std::wstring Fixture(const std::wstring& name) {
    const std::wstring root = FixtureRoot();
    if (root.empty()) return root;
    const std::wstring folder = root + name + L"\\";
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::wstring();
    return folder;
}

bool Soak() {
    const std::wstring soak = Environment(L"QORVANI_SOAK");
    return !soak.empty() && soak != L"0";
}

std::wstring CopySuffix() {
    const std::wstring copy = Environment(L"QORVANI_FIXTURE_COPY");
    return copy.empty() ? L"1" : copy;
}

// --- snapshots ----------------------------------------------------------------------------------

std::uint64_t HashFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::uint64_t hash = 1469598103934665603ull;
    static char buffer[1 << 16];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got)
        for (DWORD i = 0; i < got; ++i) hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
    CloseHandle(file);
    return hash;
}

Snapshot TakeSnapshot(const std::wstring& root) {
    Snapshot snapshot;
    SnapshotInto(root, L"", snapshot);
    return snapshot;
}

TreeComparison CompareTrees(const Snapshot& before, const Snapshot& after, const Snapshot& gone) {
    TreeComparison result;
    Snapshot expected;
    std::set_difference(before.begin(), before.end(), gone.begin(), gone.end(), std::inserter(expected, expected.end()));
    Snapshot missing, extra;
    std::set_difference(expected.begin(), expected.end(), after.begin(), after.end(),
                        std::inserter(missing, missing.end()));
    std::set_difference(after.begin(), after.end(), expected.begin(), expected.end(), std::inserter(extra, extra.end()));
    for (const Entry& entry : before) result.filesChecked += entry.kind == EntryKind::File;
    for (const Entry& entry : missing) {
        ++result.unintendedLosses;
        result.report += L"lost or changed: " + Describe(entry) + L"\n";
    }
    for (const Entry& entry : extra) {
        if (gone.count(entry) != 0) {
            ++result.notGone;
            result.report += L"still there: " + Describe(entry) + L"\n";
        } else {
            ++result.unexpected;
            result.report += L"new or changed: " + Describe(entry) + L"\n";
        }
    }
    return result;
}

// --- the trash ----------------------------------------------------------------------------------

std::wstring TrashFiles() {
    const std::wstring data = Environment(L"XDG_DATA_HOME");
    if (!data.empty()) return FolderOf(data) + L"Trash\\files\\";
    // Wine keeps the Unix home as "\??\Z:\root" in WINEHOMEDIR.
    std::wstring home = Environment(L"WINEHOMEDIR");
    if (home.rfind(L"\\??\\", 0) == 0) home.erase(0, 4);
    if (home.empty()) return std::wstring();
    return home + L"\\.local\\share\\Trash\\files\\";
}

std::multiset<std::pair<std::wstring, std::uint64_t>> TrashContents() {
    std::multiset<std::pair<std::wstring, std::uint64_t>> contents;
    const std::wstring trash = TrashFiles();
    if (trash.empty()) return contents;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((Long(trash) + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return contents;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L".." || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        const bool empty = data.nFileSizeHigh == 0 && data.nFileSizeLow == 0;
        contents.insert({name, empty ? 0 : HashFile(Long(trash) + name)});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return contents;
}

std::wstring TrashBaseName(const std::wstring& trashName) {
    // On a clash Wine's trash adds "-" and eight hex digits to the name.
    if (trashName.size() < 10 || trashName[trashName.size() - 9] != L'-') return trashName;
    for (std::size_t i = trashName.size() - 8; i < trashName.size(); ++i)
        if (!iswxdigit(trashName[i])) return trashName;
    return trashName.substr(0, trashName.size() - 9);
}

void RemoveFromTrash(const std::vector<std::wstring>& names) {
    const std::wstring trash = TrashFiles();
    if (trash.empty()) return;
    std::wstring info = trash;
    info.resize(info.size() - 6);  // "files\"
    info += L"info\\";
    const std::set<std::wstring> wanted(names.begin(), names.end());
    for (const auto& item : TrashContents()) {
        if (wanted.count(item.first) == 0 && wanted.count(TrashBaseName(item.first)) == 0) continue;
        DeleteFileW((Long(trash) + item.first).c_str());
        DeleteFileW((Long(info) + item.first + L".trashinfo").c_str());
    }
}

// --- real input ---------------------------------------------------------------------------------

void RealClickAt(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT inputs[3] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].type = INPUT_MOUSE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

void RealClick(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    RealClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void RealKey(WORD key, bool shifted) {
    INPUT inputs[4] = {};
    for (INPUT& input : inputs) input.type = INPUT_KEYBOARD;
    UINT count = 0;
    if (shifted) inputs[count++].ki.wVk = VK_SHIFT;
    inputs[count++].ki.wVk = key;
    inputs[count].ki.wVk = key;
    inputs[count++].ki.dwFlags = KEYEVENTF_KEYUP;
    if (shifted) {
        inputs[count].ki.wVk = VK_SHIFT;
        inputs[count++].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(count, inputs, sizeof(INPUT));
}

void RealMouseNudge() {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE;
    inputs[0].mi.dx = 1;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE;
    inputs[1].mi.dx = -1;
    SendInput(2, inputs, sizeof(INPUT));
}

bool CloseBoxPoint(HWND window, POINT& screen) {
    RECT r;
    GetWindowRect(window, &r);
    for (int y = r.top + 2; y < r.top + 40; y += 2)
        for (int x = r.right - 2; x > r.right - 80; x -= 2)
            if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                screen = POINT{x, y};
                return true;
            }
    return false;
}

// --- processes ----------------------------------------------------------------------------------

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        char buffer[4096];
        std::size_t got;
        while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.append(buffer, got);
        fclose(file);
    }
    return bytes;
}

std::wstring BesideSelf(const std::wstring& fileName) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.resize(path.find_last_of(L'\\') + 1);
    return path + fileName;
}

bool InChildRun() { return Environment(L"QORVANI_CHILD_RUN") == L"1"; }

ChildRun RunTestInChild(const std::string& testName, const std::vector<std::pair<std::wstring, std::wstring>>& environment,
                        DWORD timeoutMs) {
    ChildRun run;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring outPath = std::wstring(temp) + L"qvt-child-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return run;

    // The child takes this process's environment as it is when it starts: set, start, put back.
    std::vector<std::pair<std::wstring, std::wstring>> set = environment;
    set.emplace_back(L"QORVANI_CHILD_RUN", L"1");
    std::vector<std::pair<std::wstring, std::wstring>> saved;
    for (const auto& [name, value] : set) {
        saved.emplace_back(name, Environment(name.c_str()));
        SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
    std::wstring command = L"\"" + BesideSelf(L"qorvani_wintests.exe") + L"\" --gtest_filter=" +
                           std::wstring(testName.begin(), testName.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = out;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    for (const auto& [name, value] : saved) SetEnvironmentVariableW(name.c_str(), value.empty() ? nullptr : value.c_str());
    CloseHandle(out);
    if (started) {
        if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            run.exitCode = static_cast<int>(code);
        } else {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    run.output = FileBytes(outPath);
    DeleteFileW(outPath.c_str());
    return run;
}

FileHolder::FileHolder(const std::wstring& path) {
    static int counter = 0;
    const std::wstring eventName =
        L"QorvaniRobustHold" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    std::wstring command = L"\"" + BesideSelf(L"qorvani_wintests.exe") + L"\" --hold \"" + path + L"\" " + eventName;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
        holding_ = WaitForSingleObject(ready, 20000) == WAIT_OBJECT_0;
    CloseHandle(ready);
}

FileHolder::~FileHolder() {
    if (process_.hProcess == nullptr) return;
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

HelperProcess::HelperProcess(const std::wstring& arguments, const std::wstring& readyEvent) {
    HANDLE ready = readyEvent.empty() ? nullptr : CreateEventW(nullptr, TRUE, FALSE, readyEvent.c_str());
    std::wstring command = L"\"" + BesideSelf(L"qorvani_wintests.exe") + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_) != FALSE;
    if (started_ && ready != nullptr) {
        HANDLE either[2] = {ready, process_.hProcess};
        started_ = WaitForMultipleObjects(2, either, FALSE, 20000) == WAIT_OBJECT_0;
    }
    if (ready != nullptr) CloseHandle(ready);
}

HelperProcess::~HelperProcess() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

int HelperProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_.hProcess == nullptr || WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.hProcess, &code))
        return -1;
    return static_cast<int>(code);
}

// --- texts --------------------------------------------------------------------------------------

// --- figures ------------------------------------------------------------------------------------

Figures& Counts() {
    static Figures figures;
    return figures;
}

void CaseRuns(const char*) { ++Counts().cases; }

TreeComparison Count(TreeComparison comparison) {
    Counts().filesChecked += static_cast<long long>(comparison.filesChecked);
    Counts().unintendedDeletions += static_cast<int>(comparison.unintendedLosses);
    return comparison;
}

}  // namespace robust
