// The console program, run as a user's script runs it: its own process, its output to files.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "QorvaniVersion.h"
#include "RobustSupport.h"
#include "WinTestSupport.h"

using namespace wintest;
using robust::BesideSelf;
using robust::FileBytes;

namespace {

struct ConsoleRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the console program with arguments, its output and error streams to files of a folder.
ConsoleRun RunConsole(const std::wstring& folder, const std::wstring& arguments) {
    ConsoleRun run;
    // Files of each run's own: a child's handles may outlive its exit by a moment under Wine.
    static int runs = 0;
    ++runs;
    const std::wstring outPath = folder + L"out" + std::to_wstring(runs) + L".txt";
    const std::wstring errPath = folder + L"err" + std::to_wstring(runs) + L".txt";
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    std::wstring command = L"\"" + BesideSelf(QORVANI_CLI_FILE) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    // Standard input as a scheduled task has it: no console to ask on.
    HANDLE in = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    startup.hStdInput = in;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(out);
    CloseHandle(err);
    CloseHandle(in);
    if (started) {
        if (WaitForSingleObject(process.hProcess, 60'000) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            run.exitCode = static_cast<int>(code);
        } else {
            TerminateProcess(process.hProcess, 99);
        }
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    run.out = FileBytes(outPath);
    run.err = FileBytes(errPath);
    return run;
}

std::string Utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

void MakeOld(const std::wstring& path, int days) {
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    ticks.QuadPart -= static_cast<ULONGLONG>(days) * 864'000'000'000ULL;
    FILETIME old{ticks.LowPart, ticks.HighPart};
    SetFileTime(file, nullptr, nullptr, &old);
    CloseHandle(file);
}

}  // namespace

// Hard names, every format, the age rule, folders passed over, the exit codes and the version.
TEST(ConsoleProgram, ScansAndReportsEveryNameExactly) {
    TempTree tree;
    const std::wstring& root = tree.Root();
    tree.Folder(L"run");
    tree.Folder(L"skip");
    tree.Folder(L"Skipper");
    const std::wstring smile = L"\U0001F600.tmp";
    for (const std::wstring& name : {std::wstring(L"a,b.tmp"), std::wstring(L" lead.tmp"), std::wstring(L"临时.bak"), smile})
        tree.File(name, 3);
    tree.File(L"old.chk", 5);
    tree.File(L"skip\\x.tmp", 1);
    tree.File(L"Skipper\\y.tmp", 1);
    MakeOld(root + L"old.chk", 10);
    const std::wstring run = root + L"run\\";
    const std::wstring quotedRoot = L"\"" + root.substr(0, root.size() - 1) + L"\"";

    const ConsoleRun csv = RunConsole(run, L"scan " + quotedRoot + L" --format csv --exclude \"" + root + L"SKIP\"");
    EXPECT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_EQ(csv.out.rfind("path,size,last_write_utc,mask\r\n", 0), 0u) << csv.out;
    EXPECT_NE(csv.out.find("\"" + Utf8(root) + "a,b.tmp\",3,"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find("\n" + Utf8(root) + " lead.tmp,3,"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find(Utf8(root) + "\xE4\xB8\xB4\xE6\x97\xB6.bak,3,"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find(Utf8(root + smile) + ",3,"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find(Utf8(root) + "Skipper\\y.tmp,1,"), std::string::npos) << csv.out;
    EXPECT_EQ(csv.out.find("skip\\x.tmp"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find(",*.chk\r\n"), std::string::npos) << csv.out;
    EXPECT_NE(csv.err.find("\xE6\x89\xAB\xE6\x8F\x8F\xE7\xBB\x93\xE6\x9E\x9C"), std::string::npos) << csv.err;  // 扫描结果

    const ConsoleRun json = RunConsole(run, L"scan " + quotedRoot + L" --format=json --older-than 7");
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("old.chk\",\"size\":5,\"last_write_utc\":\""), std::string::npos) << json.out;
    EXPECT_EQ(json.out.find("a,b.tmp"), std::string::npos) << json.out;  // written just now
    EXPECT_NE(json.out.find("{\"type\":\"summary\",\"files\":1,\"bytes\":5,"), std::string::npos) << json.out;

    EXPECT_EQ(RunConsole(run, L"scan " + quotedRoot + L" --mask *.exe").exitCode, 2);
    const ConsoleRun usage = RunConsole(run, L"scan");
    EXPECT_EQ(usage.exitCode, 2);
    const std::string name = Utf8(QORVANI_CLI_FILE);  // the help names the program run, 32- or 64-bit
    EXPECT_EQ(usage.err.rfind(name.substr(0, name.size() - 4) + ": ", 0), 0u) << usage.err;
    EXPECT_EQ(RunConsole(run, L"scan \"" + root + L"no such folder\"").exitCode, 3);
    const ConsoleRun version = RunConsole(run, L"--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("Qorvani ") + QORVANI_VERSION_TEXT + "\n");
}

// Unattended cleaning: for good and into the Recycle Bin, the last day's files kept, and no
// question without a console to ask on.
TEST(ConsoleProgram, CleansOnlyTheSelection) {
    TempTree tree;
    const std::wstring& root = tree.Root();
    tree.Folder(L"run");
    for (const wchar_t* name : {L"old.tmp", L"old.bak", L"new.tmp", L"keep.txt"}) tree.File(name, 2);
    MakeOld(root + L"old.tmp", 10);
    MakeOld(root + L"old.bak", 10);
    MakeOld(root + L"keep.txt", 10);
    const std::wstring run = root + L"run\\";
    const std::wstring quotedRoot = L"\"" + root.substr(0, root.size() - 1) + L"\"";
    const auto exists = [&](const wchar_t* name) { return GetFileAttributesW((root + name).c_str()) != INVALID_FILE_ATTRIBUTES; };

    const ConsoleRun asked = RunConsole(run, L"clean " + quotedRoot);
    EXPECT_EQ(asked.exitCode, 2) << asked.out;
    EXPECT_TRUE(exists(L"old.tmp") && exists(L"old.bak") && exists(L"new.tmp"));

    const ConsoleRun forGood = RunConsole(run, L"clean " + quotedRoot + L" --mask *.tmp --for-good --yes");
    EXPECT_EQ(forGood.exitCode, 0) << forGood.out;
    EXPECT_FALSE(exists(L"old.tmp"));
    EXPECT_TRUE(exists(L"new.tmp") && exists(L"old.bak") && exists(L"keep.txt"));
    EXPECT_NE(forGood.out.find(Utf8(L"另有 1个最近 24 小时内写入的文件被保留")), std::string::npos) << forGood.out;
    EXPECT_NE(forGood.out.find(Utf8(L"删除文件 1个 ")), std::string::npos) << forGood.out;

    const ConsoleRun recycled = RunConsole(run, L"clean " + quotedRoot + L" --older-than 0 --yes");
    EXPECT_EQ(recycled.exitCode, 0) << recycled.out;
    EXPECT_FALSE(exists(L"new.tmp") || exists(L"old.bak"));
    EXPECT_TRUE(exists(L"keep.txt"));
    EXPECT_NE(recycled.out.find(Utf8(L"删除文件 2个 ")), std::string::npos) << recycled.out;
}
