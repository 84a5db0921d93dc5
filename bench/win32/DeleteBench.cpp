// b4: deleting checked files through the window's "清除选中项目", for good (Yes) and to the Recycle
// Bin (No), against bare SHFileOperationW calls (one per file, the same flags) on as many other
// files, side by side in every run. Every run makes its own flat folders of small files first
// (not timed); the names carry the process id, so files sent to the Recycle Bin never collide.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "BenchSupport.h"
#include "BenchWindow.h"
#include "Benchmarks.h"
#include "DeleteAnswerer.h"
#include "clean/core/DeleteCommand.h"

namespace qorvani::bench {
namespace {

constexpr std::uint32_t kFileBytes = 64;

struct Answer {
    const char* name;  // for the result keys
    int id;            // IDYES / IDNO
    std::uint16_t flags;
};
constexpr Answer kAnswers[] = {{"forgood", IDYES, kDeleteForGoodFlags}, {"trash", IDNO, kDeleteToRecycleBinFlags}};

std::wstring FilePrefix(const char* side, const Answer& answer, int run) {
    return L"qvbench_" + std::to_wstring(GetCurrentProcessId()) + L"_" + Wide(side) + L"_" + Wide(answer.name) +
           L"_" + std::to_wstring(run) + L"_";
}

// Milliseconds from the answer to the return of the delete command (the deletions, the list's
// rebuild and the report), after a scan of folder and "← 全选". *whole gets click to return.
double GuiDelete(const std::wstring& folder, std::size_t files, const Answer& answer, double* whole) {
    BenchWindow window;
    window.CheckAllTypes();
    window.SetPath(folder);
    window.Scan();
    const ResultStore& rows = window.Main().Results();
    if (rows.Count() != files)
        throw BenchError("the scan of the delete folder found " + std::to_string(rows.Count()) + " of " +
                         std::to_string(files) + " files");
    window.Click(kIdCheckAllResultsButton);
    for (std::size_t i = 0; i < rows.Count(); ++i)
        if (!rows.Checked(i)) throw BenchError("\u2190 全选 left a row unchecked");
    Pump(20);

    drive::DeleteAnswerer answerer(answer.id);
    const double start = NowMs();
    ClickFlat(window.Item(kIdDeleteButton));
    const double end = NowMs();
    answerer.Stop();
    const auto asked = answerer.Answered();
    if (asked.size() != 1 || asked[0].owner != window.Handle())
        throw BenchError("the main window asked " + std::to_string(asked.size()) + " delete questions, not one");
    if (!answerer.OtherBoxes().empty()) throw BenchError("the delete showed a box: " + Utf8(answerer.OtherBoxes()[0]));
    *whole = end - start;

    const std::size_t left = CountEntries(folder);
    if (left != 0 || rows.Count() != 0)
        throw BenchError("the window's delete left " + std::to_string(left) + " files and " +
                         std::to_string(rows.Count()) + " rows");
    const std::wstring expected = L"删除文件 " + std::to_wstring(files) + L"个 ";
    if (StatusText(window.Item(kIdStatusBar)) != expected)
        throw BenchError("the delete report reads " + Utf8(StatusText(window.Item(kIdStatusBar))));
    return end - CounterMs(asked[0].answeredAt);
}

double BareDelete(const std::wstring& folder, const std::wstring& prefix, std::size_t files, const Answer& answer,
                  HWND owner) {
    std::vector<std::wstring> lists;
    lists.reserve(files);
    for (std::size_t i = 0; i < files; ++i) {
        std::wstring from = WithSeparator(folder) + prefix + std::to_wstring(i) + L".tmp";
        from.push_back(L'\0');  // a list of one name, ended by two NULs
        lists.push_back(std::move(from));
    }
    const double start = NowMs();
    for (const std::wstring& from : lists) {
        SHFILEOPSTRUCTW op{};
        op.hwnd = owner;
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = answer.flags;
        SHFileOperationW(&op);
    }
    const double ms = NowMs() - start;
    const std::size_t left = CountEntries(folder);
    if (left != 0) throw BenchError("bare shell calls left " + std::to_string(left) + " files");
    return ms;
}

}  // namespace

int RunDeleteBench(int argc, wchar_t** argv) {
    const std::wstring work = WithSeparator(argv[2]);
    const Options options(argc, argv, 3, {L"--runs", L"--files"});
    const int runs = options.Int(L"--runs", 5);
    const int fileCount = options.Int(L"--files", 2000);
    if (runs < 1 || fileCount < 1) throw BenchError("--runs and --files must be at least 1");
    const auto files = static_cast<std::size_t>(fileCount);
    MakeFolders(work);

    ResultLine line("B4");
    line.Add("files", static_cast<std::uint64_t>(files));
    for (const Answer& answer : kAnswers) {
        std::vector<double> guiTimes, bareTimes, wholeTimes, ratios;
        for (int run = 0; run < runs; ++run) {
            const std::wstring guiFolder = work + L"gui_" + Wide(answer.name) + L"_" + std::to_wstring(run);
            const std::wstring bareFolder = work + L"bare_" + Wide(answer.name) + L"_" + std::to_wstring(run);
            RemoveTree(guiFolder);
            RemoveTree(bareFolder);
            const std::wstring guiPrefix = FilePrefix("g", answer, run);
            const std::wstring barePrefix = FilePrefix("b", answer, run);
            MakeFlatFiles(guiFolder, guiPrefix, L".tmp", files, kFileBytes);
            MakeFlatFiles(bareFolder, barePrefix, L".tmp", files, kFileBytes);

            double gui = 0, bare = 0, whole = 0;
            auto guiSide = [&] { gui = GuiDelete(guiFolder, files, answer, &whole); };
            auto bareSide = [&] {
                BenchWindow owner;  // the bare calls are owned by a main window too
                bare = BareDelete(bareFolder, barePrefix, files, answer, owner.Handle());
            };
            if (run % 2 == 0) {
                guiSide();
                bareSide();
            } else {
                bareSide();
                guiSide();
            }
            RemoveTree(guiFolder);
            RemoveTree(bareFolder);
            guiTimes.push_back(gui);
            bareTimes.push_back(bare);
            wholeTimes.push_back(whole);
            ratios.push_back(bare > 0 ? gui / bare : 0);
            ResultLine("b4-run")
                .Add("answer", std::string(answer.name))
                .Add("run", static_cast<std::uint64_t>(run + 1))
                .Add("gui_ms", gui)
                .Add("click_to_return_ms", whole)
                .Add("bare_ms", bare)
                .Print(stderr);
        }
        const double gui = Median(guiTimes), bare = Median(bareTimes);
        const std::string key = answer.name;
        line.Add((key + "_gui_ms").c_str(), gui)
            .Add((key + "_bare_ms").c_str(), bare)
            .Add((key + "_gui_files_per_s").c_str(), gui > 0 ? 1000.0 * static_cast<double>(files) / gui : 0)
            .Add((key + "_bare_files_per_s").c_str(), bare > 0 ? 1000.0 * static_cast<double>(files) / bare : 0)
            .Add((key + "_ratio").c_str(), Median(ratios), 3)
            .Add((key + "_click_to_return_ms").c_str(), Median(wholeTimes));
    }
    line.Add("runs", static_cast<std::uint64_t>(runs)).Print();
    return 0;
}

}  // namespace qorvani::bench
