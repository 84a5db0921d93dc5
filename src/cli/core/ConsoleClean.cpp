#include "cli/core/ConsoleClean.h"

#include "common/core/Texts.h"
#include "scan/core/NumberText.h"
#include "checklist/core/ResultStore.h"

namespace qorvani {

namespace {

// The delete's window, on a console: the answer given on the command line, no second question
// (a file the Recycle Bin will not take is kept), every kept file told.
class ConsoleDelete final : public DeleteView, public Pacing {
public:
    ConsoleDelete(const CliRequest& request, ConsoleCleanView& view) : request_(request), view_(view) {}

    DeleteAnswer AskDeleteConfirmation() override { return request_.forGood ? DeleteAnswer::Yes : DeleteAnswer::No; }
    bool AskDeleteForGood(std::size_t /*files*/) override { return false; }
    void RowsKept() override {}
    void SetResultCaption(std::wstring_view /*text*/) override {}
    void SetStatusText(std::wstring_view text) override { status = std::wstring(text); }
    bool StopRequested() override { return view_.StopRequested(); }
    void FileKept(const std::wstring& path, KeptReason reason) override {
        ++kept;
        if (reason == KeptReason::Stopped) stopped = true;
        view_.Say(text::kNotDeletedPrefix + std::wstring(L"：") + path + L"（" + KeptReasonText(reason) + L"）");
    }

    std::wstring status;
    std::size_t kept = 0;
    bool stopped = false;

private:
    const CliRequest& request_;
    ConsoleCleanView& view_;
};

std::wstring MegabytesText(std::uint64_t bytes) { return NumberText(MegabytesFigure(bytes)) + text::kMegabytes; }

}  // namespace

const wchar_t* KeptReasonText(KeptReason reason) {
    switch (reason) {
    case KeptReason::RefusedName: return text::kKeptRefusedName;
    case KeptReason::NoBin: return text::kKeptNoBin;
    case KeptReason::TooLong: return text::kKeptTooLong;
    case KeptReason::NotAFile: return text::kKeptNotAFile;
    case KeptReason::Unreachable: return text::kKeptUnreachable;
    case KeptReason::InUse: return text::kKeptInUse;
    case KeptReason::AccessDenied: return text::kKeptAccessDenied;
    case KeptReason::Failed: return text::kKeptFailed;
    case KeptReason::Stopped: return text::kKeptStopped;
    }
    return text::kKeptFailed;
}

ExitCode RunConsoleClean(const CliRequest& request, DirectoryLister& lister, FileShell& shell, ConsoleCleanView& view) {
    ResultStore rows;
    const ScanOutcome scan = RunConsoleScan(request, lister, view, [&rows](const FoundRecord& record) {
        rows.Append(record.path.substr(0, record.nameAt), std::wstring_view(record.path).substr(record.nameAt), record.size);
        rows.SetChecked(rows.Count() - 1, true);
    });
    view.Say(text::kReportFiles + NumberText(std::uint64_t{rows.Count()}) + text::kReportBytes +
             MegabytesText(scan.summary.bytes));
    if (scan.summary.unlistedFolders != 0)
        view.Say(text::kUnlistedFoldersPrefix + NumberText(scan.summary.unlistedFolders) + text::kFilesUnit);
    if (scan.keptAsRecent != 0)
        view.Say(text::kKeptRecentPrefix + NumberText(scan.keptAsRecent) + text::kKeptRecentRest);
    if (scan.summary.stopped) {
        view.Say(text::kStoppedNote);
        return ExitCode::Stopped;
    }
    if (scan.nothingRead) return ExitCode::NothingRead;
    if (rows.Count() == 0) return ExitCode::Done;
    if (!request.yes) {
        if (!view.CanAsk()) {
            view.Say(text::kNoConsoleToAsk);
            return ExitCode::Usage;
        }
        const std::wstring question = text::kCleanQuestionPrefix + NumberText(std::uint64_t{rows.Count()}) +
                                      text::kCleanQuestionFiles + MegabytesText(scan.summary.bytes) + L"）" +
                                      (request.forGood ? text::kCleanForGood : text::kCleanToBin);
        if (!view.AskYes(question)) {
            view.Say(text::kNothingDeleted);
            return ExitCode::Done;
        }
    }
    ConsoleDelete remove(request, view);
    DeleteCommandClick(remove, rows, shell, remove);
    view.Say(remove.status);
    if (remove.stopped || view.StopRequested()) {
        view.Say(text::kStoppedNote);
        return ExitCode::Stopped;
    }
    return remove.kept != 0 ? ExitCode::SomeKept : ExitCode::Done;
}

}  // namespace qorvani
