#include "clean/core/DeleteCommand.h"

#include <unordered_map>

#include "common/core/Texts.h"
#include "scan/core/NumberText.h"
#include "scan/core/WindowsNames.h"

namespace qorvani {

namespace {

// ':' and the separators are left to the folder: "C:\" and the folder structure need them.
bool FolderSafe(std::wstring_view folder, wchar_t separator) {
    for (wchar_t c : folder)
        if (ForbiddenInPath(c)) return false;
    std::size_t start = 0;
    while (start < folder.size()) {
        std::size_t end = folder.find(separator, start);
        if (end == std::wstring_view::npos) end = folder.size();
        if (EndsInSpaceOrDot(folder.substr(start, end - start))) return false;
        start = end + 1;
    }
    return true;
}

enum class Outcome { Refused, Sent, AlreadyGone };

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

std::uint16_t DeleteFlags(DeleteAnswer answer) {
    return answer == DeleteAnswer::Yes ? kDeleteForGoodFlags : kDeleteToRecycleBinFlags;
}

KeptReason ReasonOfFailedCall(int result) {
    const auto code = static_cast<std::uint32_t>(result);
    // An HRESULT of a Win32 error (0x8007xxxx) carries the error in its low word.
    const std::uint32_t error = (code & 0xFFFF0000u) == 0x80070000u ? code & 0xFFFFu : code;
    switch (error) {
    case 5:     // ERROR_ACCESS_DENIED
    case 0x78:  // DE_ACCESSDENIEDSRC
        return KeptReason::AccessDenied;
    case 32:    // ERROR_SHARING_VIOLATION
    case 33:    // ERROR_LOCK_VIOLATION
        return KeptReason::InUse;
    default:
        return KeptReason::Failed;
    }
}

bool ShellCanTake(std::wstring_view path) { return path.size() < kShellPathLimit; }

PathKind KindOfFailedLookup(std::uint32_t systemError) {
    // "File not found" comes from a folder that is there and holds no such name. "Path not
    // found" is also the answer of a drive letter gone (a disk unplugged, a subst or mapped drive
    // removed) or a folder renamed since the scan: the file may well still be on its disk.
    return systemError == kErrorFileNotFound ? PathKind::Missing : PathKind::Unknown;
}

std::wstring LookupForm(const std::wstring& path) {
    if (path.size() < kShellPathLimit) return path;
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\')
        return L"\\\\?\\" + path;
    if (path.starts_with(L"\\\\") && !path.starts_with(L"\\\\?\\") && !path.starts_with(L"\\\\.\\"))
        return L"\\\\?\\UNC" + path.substr(1);  // \\server\share\... -> \\?\UNC\server\share\...
    return path;
}

bool NameSafeForShell(std::wstring_view path, std::wstring_view name, wchar_t separator) {
    if (name.empty() || path.size() <= name.size()) return false;
    if (path.substr(path.size() - name.size()) != name) return false;
    const std::wstring_view folder = path.substr(0, path.size() - name.size());
    if (folder.back() != separator) return false;
    for (wchar_t c : name)
        if (ForbiddenInName(c)) return false;
    if (EndsInSpaceOrDot(name) || ReservedDeviceName(name)) return false;
    return FolderSafe(folder, separator);
}

std::wstring ForGoodQuestion(std::size_t files) {
    return text::kForGoodPrefix + NumberText(std::uint64_t{files}) + text::kForGoodRest;
}

std::vector<bool> CaseTwins(const ResultStore& rows, Pacing& pace) {
    // The display text (folder and upper-cased name) is what two spellings of one name share.
    struct Seen {
        std::size_t row;
        bool twin;
    };
    std::unordered_map<std::wstring, Seen> seen;
    std::vector<bool> twins(rows.Count(), false);
    for (std::size_t row = 0; row < rows.Count(); ++row) {
        pace.AtWork();
        auto [entry, added] = seen.try_emplace(rows.DisplayText(row), Seen{row, false});
        if (added || rows.NameView(entry->second.row) == rows.NameView(row)) continue;
        twins[row] = twins[entry->second.row] = true;
    }
    // Every other spelling of a name that has two is a twin too, not only the first one met.
    for (std::size_t row = 0; row < rows.Count(); ++row)
        if (!twins[row]) {
            const auto entry = seen.find(rows.DisplayText(row));
            if (entry->second.row != row && twins[entry->second.row]) twins[row] = true;
        }
    return twins;
}

namespace {

// What the command knows of one row, in one place.
struct RowPlan {
    bool checked = false;
    bool sendable = false;    // a name that the shell reads as this one file, and no other
    bool withoutBin = false;  // "否", but the Recycle Bin will not take it: asked for below
    std::uint16_t flags = 0;
    std::wstring path;
    Outcome outcome = Outcome::Refused;
    SentFate fate = SentFate::Untold;  // sent to the Recycle Bin: what the shell said of it
    KeptReason reason = KeptReason::RefusedName;  // if it stays
    int result = 0;                               // the shell's answer, if sent
};

// The question pass: the plan of every row, after the one question for the files that the
// Recycle Bin cannot take.
std::vector<RowPlan> PlanRows(DeleteView& view, const ResultStore& rows, FileShell& shell, Pacing& pace,
                              DeleteAnswer answer, wchar_t separator) {
    std::vector<RowPlan> plan(rows.Count());
    std::vector<bool> twins;  // asked only when some row is checked
    std::size_t withoutBin = 0;
    for (std::size_t row = 0; row < plan.size(); ++row) {
        pace.AtWork();
        if (!rows.Checked(row)) continue;
        if (twins.empty()) twins = CaseTwins(rows, pace);
        RowPlan& facts = plan[row];
        facts.checked = true;
        facts.path = rows.ExactPath(row);
        // A name beside another spelling of it (a case-sensitive folder) is never sent: the shell
        // could take the twin that was not checked.
        facts.sendable = !twins[row] && NameSafeForShell(facts.path, rows.NameView(row), separator);
        facts.flags = DeleteFlags(answer);
        if (facts.sendable && ShellCanTake(facts.path) && answer == DeleteAnswer::No &&
            WhyBinRefuses(shell.RecycleBinOf(facts.path), rows.Size(row)) != BinRefusal::None) {
            facts.withoutBin = true;
            ++withoutBin;
        }
    }
    // One question for every file that the Recycle Bin cannot take, before any file is sent; a no
    // keeps them all.
    if (withoutBin != 0) {
        const bool forGood = view.AskDeleteForGood(withoutBin);
        for (RowPlan& facts : plan)
            if (facts.withoutBin) {
                facts.flags = kDeleteForGoodFlags;
                facts.sendable = forGood;
                facts.reason = KeptReason::NoBin;
            }
    }
    return plan;
}

// Deletion pass: one shell call per checked row whose path names exactly one plain file that
// the shell can take. A path is judged gone only on the system's own "not found".
void SendRows(std::vector<RowPlan>& plan, DeleteView& view, FileShell& shell, Pacing& pace) {
    bool stopped = false;
    for (RowPlan& facts : plan) {
        pace.AtWork();
        if (!facts.sendable) continue;
        if (stopped || (stopped = view.StopRequested())) {
            facts.reason = KeptReason::Stopped;
            continue;
        }
        switch (shell.Inspect(facts.path)) {
        case PathKind::PlainFile:
            if (!ShellCanTake(facts.path)) {  // too long for the shell: stays listed
                facts.reason = KeptReason::TooLong;
                break;
            }
            view.ShowDeleting(facts.path);
            pace.AtWork();
            facts.result = shell.DeleteOneFile(facts.path, facts.flags);  // judged below by what is left on disk
            facts.outcome = Outcome::Sent;
            facts.reason = ReasonOfFailedCall(facts.result);
            if ((facts.flags & kFofAllowUndo) != 0) facts.fate = shell.FateOfLastDelete();
            break;
        case PathKind::Missing:
            facts.outcome = Outcome::AlreadyGone;
            break;
        case PathKind::Folder:   // something other than the listed file is there
            facts.reason = KeptReason::NotAFile;
            break;
        case PathKind::Unknown:  // the system could not tell: leave it alone
            facts.reason = KeptReason::Unreachable;
            break;
        }
    }
}

struct Collected {
    std::vector<std::size_t> kept;  // the rows that stay, in their order
    std::size_t failed = 0;         // checked rows among them
    std::size_t destroyed = 0;      // gone, sent to the Recycle Bin, and destroyed by the shell
};

// Collect pass: a checked row leaves only when its file is gone now.
Collected CollectRows(const std::vector<RowPlan>& plan, DeleteView& view, FileShell& shell, Pacing& pace) {
    Collected left;
    for (std::size_t row = 0; row < plan.size(); ++row) {
        pace.AtWork();
        const RowPlan& facts = plan[row];
        const bool gone = facts.checked && facts.outcome != Outcome::Refused &&
                          shell.InspectAfterCalls(facts.path) == PathKind::Missing;
        if (gone) {
            if (facts.fate == SentFate::Destroyed) ++left.destroyed;
            continue;
        }
        left.kept.push_back(row);
        if (facts.checked) {
            ++left.failed;
            view.FileKept(facts.path, facts.reason);
        }
    }
    return left;
}

}  // namespace

void DeleteCommandClick(DeleteView& view, ResultStore& rows, FileShell& shell, Pacing& pace, wchar_t separator) {
    const PacedRun paced(pace);
    const DeleteAnswer answer = view.AskDeleteConfirmation();
    if (answer == DeleteAnswer::Cancel) return;

    const std::size_t n = rows.Count();
    std::vector<RowPlan> plan = PlanRows(view, rows, shell, pace, answer, separator);
    SendRows(plan, view, shell, pace);
    const auto [kept, failed, destroyed] = CollectRows(plan, view, shell, pace);

    rows.KeepRows(kept);
    view.RowsKept();

    const std::size_t left = kept.size();
    view.SetResultCaption(text::kRemainingPrefix + NumberText(std::uint64_t{left}) + text::kFilesUnit);
    std::wstring status = text::kDeletedPrefix + NumberText(std::uint64_t{n - left}) + text::kDeletedUnit;
    // Files that "否" sent to the Recycle Bin and the shell destroyed all the same are named apart.
    if (destroyed != 0) status += text::kDestroyedPrefix + NumberText(std::uint64_t{destroyed}) + text::kDeletedUnit;
    if (failed != 0) status += text::kNotDeletedPrefix + NumberText(std::uint64_t{failed}) + text::kFilesUnit;
    view.SetStatusText(status);
}

}  // namespace qorvani
