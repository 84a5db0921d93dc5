#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DeleteFakes.h"
#include "ScanFakes.h"
#include "cli/core/CliArguments.h"
#include "cli/core/ConsoleClean.h"
#include "cli/core/ConsoleScan.h"
#include "cli/core/ReportText.h"
#include "scan/core/FileTimes.h"

using namespace qorvani;
using namespace qorvani::scantest;
using namespace qorvani::deletetest;

namespace {

const std::vector<std::wstring> kCatalogue{L"*.tmp", L"*.bak", L"~*.*", L"*.chk"};

CliRequest Parsed(std::vector<std::wstring> arguments) {
    const ParsedArguments parsed = ParseArguments(arguments, kCatalogue);
    EXPECT_TRUE(parsed.request.has_value()) << parsed.error;
    return parsed.request.value_or(CliRequest{});
}

std::wstring ErrorOf(std::vector<std::wstring> arguments) {
    const ParsedArguments parsed = ParseArguments(arguments, kCatalogue);
    EXPECT_FALSE(parsed.request.has_value());
    return parsed.error;
}

constexpr std::uint64_t kNow = 134'000'000'000'000'000;  // some day in 2025

class FakeConsole : public ConsoleCleanView {
public:
    std::vector<std::wstring> said;
    bool canAsk = true;
    std::vector<std::wstring> questions;
    bool answer = false;
    bool stopAtDelete = false;  // Ctrl+C once the delete has begun
    void Say(const std::wstring& line) override { said.push_back(line); }
    bool CanAsk() override { return canAsk; }
    bool AskYes(const std::wstring& question) override {
        questions.push_back(question);
        return answer;
    }
    std::uint32_t clock = 0;
    int stopAfterChecks = -1;  // Ctrl+C at that many checks
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
    FixedDrives drives;

    std::uint32_t Milliseconds() override { return clock += 100; }
    std::uint64_t NowTicks() override { return kNow; }
    bool StopRequested() override { return stopAfterChecks >= 0 && checks_++ >= stopAfterChecks; }
    bool Said(const std::wstring& line) const { return std::find(said.begin(), said.end(), line) != said.end(); }
    void ShowProgress(std::uint64_t folders, std::uint64_t files) override { progress.emplace_back(folders, files); }
    FixedDrives FixedDrivesNow() override { return drives; }

private:
    int checks_ = 0;
};

std::vector<std::wstring> PathsFound(const CliRequest& request, FakeLister& disk, FakeConsole& console,
                                     ScanOutcome* outcome = nullptr) {
    std::vector<std::wstring> paths;
    const ScanOutcome result =
        RunConsoleScan(request, disk, console, [&](const FoundRecord& record) { paths.push_back(record.path + L" " + record.mask); });
    if (outcome != nullptr) *outcome = result;
    return paths;
}

}  // namespace

TEST(ConsoleArguments, CommandsOptionsAndTheirMistakes) {
    const CliRequest scan = Parsed({L"scan", L"C:\\", L"D:\\x", L"--mask", L"*.BAK", L"--mask=*.tmp", L"--older-than",
                                    L"7", L"--exclude", L"C:\\Windows", L"--format=json"});
    EXPECT_EQ(scan.command, CliCommand::Scan);
    EXPECT_EQ(scan.paths, (std::vector<std::wstring>{L"C:\\", L"D:\\x"}));
    EXPECT_EQ(scan.masks, (std::vector<std::wstring>{L"*.tmp", L"*.bak"}));  // the catalogue's order and spelling
    EXPECT_EQ(scan.olderThanDays, 7u);
    EXPECT_EQ(scan.excludes, (std::vector<std::wstring>{L"C:\\Windows"}));
    EXPECT_EQ(scan.format, ReportFormat::Json);

    const CliRequest all = Parsed({L"clean", L"--all-drives", L"--for-good", L"--yes"});
    EXPECT_TRUE(all.allDrives && all.forGood && all.yes);
    EXPECT_EQ(all.masks, kCatalogue);  // no --mask: every mask
    EXPECT_FALSE(all.olderThanDays);
    EXPECT_EQ(Parsed({L"clean", L"--", L"--yes"}).paths, (std::vector<std::wstring>{L"--yes"}));
    EXPECT_EQ(Parsed({L"--version"}).command, CliCommand::Version);
    EXPECT_EQ(Parsed({L"scan", L"--help"}).command, CliCommand::Help);
    EXPECT_EQ(Parsed({L"clean", L"C:\\", L"--older-than", L"0"}).olderThanDays, 0u);

    EXPECT_EQ(ErrorOf({}), L"no command given");
    EXPECT_EQ(ErrorOf({L"scan", L"C:\\", L"--mask", L"*.exe"}), L"not a mask of the catalogue: *.exe");
    EXPECT_EQ(ErrorOf({L"scan"}), L"give a path or --all-drives");
    EXPECT_EQ(ErrorOf({L"scan", L"C:\\", L"--all-drives"}), L"give paths or --all-drives, not both");
    EXPECT_EQ(ErrorOf({L"scan", L"C:\\", L"--yes"}), L"--yes belongs to clean");
    EXPECT_EQ(ErrorOf({L"clean", L"C:\\", L"--recycle", L"--for-good"}), L"--recycle and --for-good exclude each other");
    EXPECT_EQ(ErrorOf({L"scan", L"C:\\", L"--format", L"xml"}), L"--format takes text, csv or json: xml");
    EXPECT_EQ(ErrorOf({L"scan", L"C:\\", L"--mask"}), L"--mask needs a value");
    for (const wchar_t* days : {L"-1", L"7d", L"", L"100001", L"99999999999"})
        EXPECT_NE(ErrorOf({L"scan", L"C:\\", L"--older-than", days}).find(L"--older-than"), std::wstring::npos) << days;
    EXPECT_EQ(ErrorOf({L"purge", L"C:\\"}), L"unknown command: purge");
    EXPECT_EQ(ErrorOf({L"scan", L"C:\\", L"--all"}), L"unknown option: --all");
    const std::wstring usage = UsageText(L"qorvani-cli", kCatalogue);
    for (const std::wstring& mask : kCatalogue) EXPECT_NE(usage.find(mask), std::wstring::npos);
}

TEST(ConsoleReport, EveryNameRoundTripsInEveryFormat) {
    EXPECT_EQ(CsvField(L"C:\\a\\b.tmp"), "C:\\a\\b.tmp");
    EXPECT_EQ(CsvField(L"C:\\a,b\\\"q\".tmp"), "\"C:\\a,b\\\"\"q\"\".tmp\"");
    EXPECT_EQ(CsvField(L" lead.tmp"), "\" lead.tmp\"");
    EXPECT_EQ(CsvField(L"line\nbreak"), "\"line\nbreak\"");
    EXPECT_EQ(CsvField(L"临时.tmp"), "\xE4\xB8\xB4\xE6\x97\xB6.tmp");
    // A character beyond the BMP: one code point, four bytes; an unpaired half is escaped.
    std::wstring astral = L"a";
    std::wstring lone = L"a";
    if (sizeof(wchar_t) == 2) {
        astral += static_cast<wchar_t>(0xD83D);
        astral += static_cast<wchar_t>(0xDE00);
    } else {
        astral += static_cast<wchar_t>(0x1F600);
    }
    lone += static_cast<wchar_t>(0xD800);
    lone += L"b";
    EXPECT_EQ(Utf8Escaped(astral), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8Escaped(lone), "a<U+D800>b");
    EXPECT_EQ(ConsoleEscaped(astral), astral);
    EXPECT_EQ(ConsoleEscaped(lone), L"a<U+D800>b");
    EXPECT_EQ(JsonString(lone), "\"a\\ud800b\"");
    EXPECT_EQ(JsonString(L"C:\\\"x\"\t\x01"), "\"C:\\\\\\\"x\\\"\\t\\u0001\"");
    EXPECT_EQ(JsonString(astral), "\"a\xF0\x9F\x98\x80\"");

    FoundRecord record{L"C:\\t\\a,b.tmp", 5, 1536, TicksFromUnixTime(1'765'267'200, 0), L"*.tmp"};
    EXPECT_EQ(HeaderLine(ReportFormat::Csv), "path,size,last_write_utc,mask\r\n");
    EXPECT_EQ(RecordLine(ReportFormat::Csv, record), "\"C:\\t\\a,b.tmp\",1536,2025-12-09T08:00:00Z,*.tmp\r\n");
    EXPECT_EQ(RecordLine(ReportFormat::Json, record),
              "{\"type\":\"file\",\"path\":\"C:\\\\t\\\\a,b.tmp\",\"size\":1536,\"last_write_utc\":\"2025-12-09T08:00:00Z\","
              "\"mask\":\"*.tmp\"}\n");
    record.lastWrite.reset();
    EXPECT_NE(RecordLine(ReportFormat::Json, record).find("\"last_write_utc\":null"), std::string::npos);
    EXPECT_EQ(RecordLine(ReportFormat::Csv, record), "\"C:\\t\\a,b.tmp\",1536,,*.tmp\r\n");
    EXPECT_EQ(RecordLine(ReportFormat::Text, record), "C:\\t\\a,b.tmp  1.5 KB    *.tmp\n");

    const ScanSummary summary{3, 2'500'000, 1500, 2, true};
    EXPECT_EQ(SummaryLines(ReportFormat::Json, summary),
              "{\"type\":\"summary\",\"files\":3,\"bytes\":2500000,\"seconds\":1.500,\"unlisted_folders\":2,\"stopped\":true}\n");
    EXPECT_EQ(SummaryLines(ReportFormat::Text, summary),
              Utf8Escaped(L"扫描结果： 扫描到的文件共有： 3个； 占用空间： 2.3 MB ；用时： 1.5秒\n未能读取的文件夹： 2个\n"
                          L"已停止：以上是停止前的结果。") + "\n");
}

TEST(ConsoleReport, FileTimesInIsoUtc) {
    EXPECT_EQ(IsoUtcText(TicksFromUnixTime(0, 0)), L"1970-01-01T00:00:00Z");
    EXPECT_EQ(IsoUtcText(TicksFromUnixTime(951'782'400, 999'999'999)), L"2000-02-29T00:00:00Z");  // leap day
    EXPECT_EQ(IsoUtcText(TicksFromUnixTime(4'107'542'399, 0)), L"2100-02-28T23:59:59Z");          // no leap day
    EXPECT_EQ(IsoUtcText(0), L"1601-01-01T00:00:00Z");
    EXPECT_EQ(IsoUtcText(TicksFromUnixTime(-1, 0)), L"1969-12-31T23:59:59Z");
    EXPECT_EQ(TicksFromUnixTime(-20'000'000'000, 0), 0u);
    EXPECT_TRUE(AtLeastDaysOld(kNow - 7 * kTicksPerDay, kNow, 7));
    EXPECT_FALSE(AtLeastDaysOld(kNow - 7 * kTicksPerDay + 1, kNow, 7));
    EXPECT_FALSE(AtLeastDaysOld(kNow + kTicksPerDay, kNow, 1));  // written "in the future"
}

TEST(ConsoleScan, SelectsByMaskAgeAndExclusionAndCountsWhatCouldNotBeRead) {
    FakeLister disk;
    const std::uint64_t old = kNow - 30 * kTicksPerDay;
    const std::uint64_t recent = kNow - kTicksPerDay / 2;
    disk.AddFile(L"C:\\", L"a.tmp", 1, old);
    disk.AddFile(L"C:\\", L"b.BAK", 2, recent);
    disk.AddFile(L"C:\\", L"c.tmp", 3);  // no time known
    const std::wstring keep = disk.AddFolder(L"C:\\", L"Keep");
    disk.AddFile(keep, L"k.tmp", 4, old);
    const std::wstring below = disk.AddFolder(keep, L"Below");
    disk.AddFile(below, L"kb.tmp", 5, old);
    const std::wstring keeper = disk.AddFolder(L"C:\\", L"Keeper");  // not below "Keep"
    disk.AddFile(keeper, L"kr.tmp", 6, old);
    disk.AddUnlistableFolder(L"C:\\", L"Locked");

    FakeConsole console;
    CliRequest request = Parsed({L"scan", L"C:\\"});
    ScanOutcome outcome;
    EXPECT_EQ(PathsFound(request, disk, console, &outcome),
              (std::vector<std::wstring>{L"C:\\a.tmp *.tmp", L"C:\\b.BAK *.bak", L"C:\\c.tmp *.tmp",
                                         L"C:\\Keep\\k.tmp *.tmp", L"C:\\Keep\\Below\\kb.tmp *.tmp",
                                         L"C:\\Keeper\\kr.tmp *.tmp"}));
    EXPECT_EQ(outcome.summary.files, 6u);
    EXPECT_EQ(outcome.summary.bytes, 21u);
    EXPECT_EQ(outcome.summary.unlistedFolders, 1u);
    EXPECT_FALSE(outcome.nothingRead || outcome.summary.stopped);

    request = Parsed({L"scan", L"C:\\", L"--older-than", L"7", L"--exclude", L"c:\\KEEP", L"--mask", L"*.tmp"});
    EXPECT_EQ(PathsFound(request, disk, console),
              (std::vector<std::wstring>{L"C:\\a.tmp *.tmp", L"C:\\Keeper\\kr.tmp *.tmp"}));

    // An unattended clean keeps what was written in the last day; --older-than 0 lifts it.
    request = Parsed({L"clean", L"C:\\", L"--yes", L"--mask", L"*.bak"});
    EXPECT_TRUE(PathsFound(request, disk, console, &outcome).empty());
    EXPECT_EQ(outcome.keptAsRecent, 1u);
    request = Parsed({L"clean", L"C:\\", L"--yes", L"--mask", L"*.bak", L"--older-than", L"0"});
    EXPECT_EQ(PathsFound(request, disk, console).size(), 1u);
    request = Parsed({L"clean", L"C:\\", L"--mask", L"*.bak"});  // asked for: the user sees the list
    EXPECT_EQ(PathsFound(request, disk, console).size(), 1u);

    request = Parsed({L"scan", L"Z:\\gone", L"Y:\\"});
    PathsFound(request, disk, console, &outcome);
    EXPECT_TRUE(outcome.nothingRead);
    EXPECT_EQ(outcome.summary.unlistedFolders, 2u);
}

TEST(ConsoleScan, CtrlCStopsTheWalkAndProgressComesAtItsPace) {
    FakeLister disk;
    for (int i = 0; i < 10; ++i) disk.AddFile(disk.AddFolder(L"C:\\", L"d" + std::to_wstring(i)), L"x.tmp", 1);
    FakeConsole console;
    ScanOutcome outcome;
    EXPECT_EQ(PathsFound(Parsed({L"scan", L"C:\\"}), disk, console, &outcome).size(), 10u);
    // The clock moves 100 ms per look: progress about every 250 ms, never at every folder.
    EXPECT_GE(console.progress.size(), 2u);
    EXPECT_LT(console.progress.size(), 11u);
    for (std::size_t i = 1; i < console.progress.size(); ++i) {
        EXPECT_GT(console.progress[i].first, console.progress[i - 1].first);
        EXPECT_GE(console.progress[i].second, console.progress[i - 1].second);
    }

    // Ctrl+C seen on entering the fourth subfolder: that folder is the last one listed, and the
    // second root is never walked.
    console.stopAfterChecks = 4;
    EXPECT_EQ(PathsFound(Parsed({L"scan", L"C:\\", L"C:\\d1"}), disk, console, &outcome).size(), 4u);
    EXPECT_TRUE(outcome.summary.stopped);
    EXPECT_FALSE(outcome.nothingRead);
}

TEST(ConsoleClean, DeletesTheSelectionKeepsWhatTheBinWillNotTakeAndTellsEveryKeptFile) {
    const std::uint64_t old = kNow - 30 * kTicksPerDay;
    FakeLister disk;
    FakeShell shell;
    const auto add = [&](const std::wstring& folder, const std::wstring& name, std::uint64_t lastWrite) {
        disk.AddFile(folder, name, 1000, lastWrite);
        shell.AddFile(folder + name);
    };
    add(L"C:\\", L"a.tmp", old);
    add(L"C:\\", L"locked.tmp", old);
    add(L"C:\\", L"new.tmp", kNow - 60 * kTicksPerSecond);
    add(L"E:\\", L"card.tmp", old);
    shell.failing = {L"C:\\locked.tmp"};
    shell.withoutBin = {L"E:\\"};

    // Unattended, into the Recycle Bin: the recent file and the one the bin will not take stay.
    FakeConsole console;
    EXPECT_EQ(RunConsoleClean(Parsed({L"clean", L"C:\\", L"E:\\", L"--yes"}), disk, shell, console), ExitCode::SomeKept);
    EXPECT_TRUE(console.questions.empty());
    EXPECT_EQ(shell.CalledPaths(), (std::vector<std::wstring>{L"C:\\a.tmp", L"C:\\locked.tmp"}));
    for (const auto& call : shell.calls) EXPECT_EQ(call.second, kDeleteToRecycleBinFlags);
    EXPECT_TRUE(console.Said(L"另有 1个最近 24 小时内写入的文件被保留（--older-than 0 可取消这一限制）。"));
    EXPECT_TRUE(console.Said(L"未能删除：C:\\locked.tmp（文件正在被其他程序使用）"));
    EXPECT_TRUE(console.Said(L"未能删除：E:\\card.tmp（回收站不能接收这个文件）"));
    EXPECT_TRUE(console.Said(L"删除文件 1个 未能删除 2个")) << console.said.back();
    EXPECT_TRUE(shell.entries.count(L"E:\\card.tmp") && shell.entries.count(L"C:\\new.tmp"));

    // Asked on the console (the fake disk still lists a.tmp: the shell finds it gone): a no deletes nothing; without a console to ask on, nothing either.
    shell.calls.clear();
    FakeConsole asked;
    EXPECT_EQ(RunConsoleClean(Parsed({L"clean", L"C:\\", L"--for-good"}), disk, shell, asked), ExitCode::Done);
    ASSERT_EQ(asked.questions.size(), 1u);
    EXPECT_EQ(asked.questions[0], L"要删除找到的 3个文件（ 0 MB）吗？文件将被直接删除，不能从回收站恢复。(y/N) ");
    EXPECT_TRUE(asked.Said(L"未删除任何文件。"));
    FakeConsole noConsole;
    noConsole.canAsk = false;
    EXPECT_EQ(RunConsoleClean(Parsed({L"clean", L"C:\\"}), disk, shell, noConsole), ExitCode::Usage);
    EXPECT_TRUE(shell.calls.empty());

    // A yes: for good, every file of the selection, the recent one too (the user saw the count).
    asked.answer = true;
    shell.failing.clear();
    EXPECT_EQ(RunConsoleClean(Parsed({L"clean", L"C:\\", L"--for-good"}), disk, shell, asked), ExitCode::Done);
    EXPECT_EQ(shell.CalledPaths(), (std::vector<std::wstring>{L"C:\\locked.tmp", L"C:\\new.tmp"}));
    for (const auto& call : shell.calls) EXPECT_EQ(call.second, kDeleteForGoodFlags);

    // Ctrl+C during the delete: the file being deleted is finished, the rest stay.
    FakeLister many;
    FakeShell manyShell;
    for (int i = 0; i < 5; ++i) {
        many.AddFile(L"C:\\", L"f" + std::to_wstring(i) + L".tmp", 1, old);
        manyShell.AddFile(L"C:\\f" + std::to_wstring(i) + L".tmp");
    }
    FakeConsole stopping;
    stopping.stopAfterChecks = 3;  // the walk looks once (its one folder), then the delete per file
    EXPECT_EQ(RunConsoleClean(Parsed({L"clean", L"C:\\", L"--yes"}), many, manyShell, stopping), ExitCode::Stopped);
    EXPECT_EQ(manyShell.calls.size(), 2u);
    EXPECT_TRUE(stopping.Said(L"未能删除：C:\\f4.tmp（已停止，未删除）"));
}
