// qorvani-cli: the console twin of Qorvani. It scans and cleans with the window's walk, catalogue,
// rules and delete, and reports what it found as text, CSV or JSON lines.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "QorvaniVersion.h"
#include "catalogue/core/TypeList.h"
#include "catalogue/win32/ResourceStrings.h"
#include "clean/win32/ShellFileDelete.h"
#include "cli/core/CliArguments.h"
#include "cli/core/ConsoleClean.h"
#include "cli/core/ConsoleScan.h"
#include "cli/core/ReportText.h"
#include "cli/win32/ConsoleStream.h"
#include "common/core/Texts.h"
#include "scan/core/NumberText.h"
#include "scan/win32/FixedDriveDiscovery.h"
#include "scan/win32/Win32Lister.h"

namespace {

using namespace qorvani;

std::atomic<bool> stopRequested{false};

// Ctrl+C and Ctrl+Break stop the walk at its next folder, or the clean before its next file; the
// summary is still printed. A closing console or a logoff ends the program as the system does.
BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    stopRequested = true;
    return TRUE;
}

class Win32ConsoleView final : public ConsoleCleanView {
public:
    Win32ConsoleView(ConsoleStream& out, ConsoleStream& progress) : out_(out), progress_(progress) {}
    ~Win32ConsoleView() override { EndProgress(); }

    std::uint32_t Milliseconds() override { return GetTickCount(); }
    std::uint64_t NowTicks() override {
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    }
    bool StopRequested() override { return stopRequested; }
    void ShowProgress(std::uint64_t folders, std::uint64_t files) override {
        if (!progress_.IsConsole()) return;
        progress_.Write(L"\r" + std::wstring(text::kProgressFolders) + NumberText(folders) + text::kProgressFiles +
                        NumberText(files) + text::kFilesUnit + L"   ");
        shown_ = true;
    }
    FixedDrives FixedDrivesNow() override {
        FixedDrives drives;
        std::wstring text;
        DiscoverFixedDrives(drives, text);
        return drives;
    }
    void Say(const std::wstring& line) override {
        EndProgress();
        out_.Write(line + L"\n");
    }
    bool CanAsk() override {
        DWORD mode = 0;
        return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
    }
    // The question goes to the error stream, so that a redirected report stays clean.
    bool AskYes(const std::wstring& question) override {
        EndProgress();
        progress_.Write(question);
        wchar_t answer[64] = {};
        DWORD read = 0;
        if (!ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), answer, 63, &read, nullptr) || stopRequested) return false;
        std::wstring text(answer, read);
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
        for (wchar_t& c : text) c = static_cast<wchar_t>(c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c);
        return text == L"y" || text == L"yes";
    }
    // The progress line is wiped before anything else goes to the console.
    void EndProgress() {
        if (!shown_) return;
        progress_.Write(std::wstring(L"\r") + std::wstring(79, L' ') + L"\r");
        shown_ = false;
    }

private:
    ConsoleStream& out_;
    ConsoleStream& progress_;
    bool shown_ = false;
};

std::vector<std::wstring> CatalogueMasks() {
    ResourceStrings strings(GetModuleHandleW(nullptr));
    std::vector<std::wstring> masks;
    for (unsigned id = kFirstMaskId; id <= kLastMaskId; ++id) masks.push_back(strings.Load(id));
    return masks;
}

int Scan(const CliRequest& request, ConsoleStream& out, ConsoleStream& err) {
    Win32Lister lister;
    Win32ConsoleView view(out, err);
    out.Write(std::string_view(HeaderLine(request.format)));
    const ScanOutcome outcome = RunConsoleScan(request, lister, view, [&](const FoundRecord& record) {
        view.EndProgress();
        out.Write(std::string_view(RecordLine(request.format, record)));
    });
    view.EndProgress();
    // CSV's standard output stays one table: its summary goes to the error stream.
    (request.format == ReportFormat::Csv ? err : out).Write(std::string_view(SummaryLines(request.format, outcome.summary)));
    if (outcome.summary.stopped) return static_cast<int>(ExitCode::Stopped);
    if (outcome.nothingRead) return static_cast<int>(ExitCode::NothingRead);
    return static_cast<int>(ExitCode::Done);
}

int Clean(const CliRequest& request, ConsoleStream& out, ConsoleStream& err) {
    Win32Lister lister;
    Win32ConsoleView view(out, err);
    Pacing noPacing;  // nothing to keep alive: no window
    ShellFileDelete shell(nullptr, noPacing);
    return static_cast<int>(RunConsoleClean(request, lister, shell, view));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    ConsoleStream out(STD_OUTPUT_HANDLE);
    ConsoleStream err(STD_ERROR_HANDLE);
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    const std::vector<std::wstring> catalogue = CatalogueMasks();
    const std::wstring program = QORVANI_CLI_NAME_WIDE;  // qorvani-cli or qorvani64-cli
    const ParsedArguments parsed = ParseArguments(arguments, catalogue);
    if (!parsed.request) {
        err.Write(program + L": " + parsed.error + L"\n\n" + UsageText(program, catalogue));
        return static_cast<int>(ExitCode::Usage);
    }
    const CliRequest& request = *parsed.request;
    switch (request.command) {
    case CliCommand::Help:
        out.Write(UsageText(program, catalogue));
        return static_cast<int>(ExitCode::Done);
    case CliCommand::Version:
        out.Write(std::wstring(L"Qorvani ") + QORVANI_VERSION_WTEXT + L"\n");
        return static_cast<int>(ExitCode::Done);
    case CliCommand::Scan:
        return Scan(request, out, err);
    case CliCommand::Clean:
        return Clean(request, out, err);
    }
    return static_cast<int>(ExitCode::Usage);
}
