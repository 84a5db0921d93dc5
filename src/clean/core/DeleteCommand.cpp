#include "clean/core/DeleteCommand.h"

#include "scan/core/NumberText.h"

namespace qorvani {

namespace {

bool IsControl(wchar_t c) { return c < 0x20; }

// U+FFFD stands in a listed name for bytes that the system could not decode: the path may then
// name another file (one whose name really holds U+FFFD, or another undecodable one) or none.
bool IsSubstitute(wchar_t c) { return c == 0xFFFD; }

// Characters that Windows refuses in a file name.
bool ForbiddenInName(wchar_t c) {
    switch (c) {
    case L'\\': case L'/': case L':': case L'*': case L'?':
    case L'"': case L'<': case L'>': case L'|':
        return true;
    default:
        return IsControl(c) || IsSubstitute(c);
    }
}

// Characters that the shell reads as wildcards or that no folder name can hold; ':' and the
// separators are left out, since "C:\" and the folder structure need them.
bool ForbiddenInFolder(wchar_t c) {
    switch (c) {
    case L'*': case L'?': case L'"': case L'<': case L'>': case L'|':
        return true;
    default:
        return IsControl(c) || IsSubstitute(c);
    }
}

bool EndsInSpaceOrDot(std::wstring_view text) {
    return !text.empty() && (text.back() == L' ' || text.back() == L'.');
}

bool FolderSafe(std::wstring_view folder, wchar_t separator) {
    for (wchar_t c : folder)
        if (ForbiddenInFolder(c)) return false;
    // Windows drops a trailing dot of a folder name, so "a.\b" would name "a\b".
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

bool StartsWith(std::wstring_view text, std::wstring_view start) {
    return text.substr(0, start.size()) == start;
}

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

std::uint16_t DeleteFlags(DeleteAnswer answer) {
    return answer == DeleteAnswer::Yes ? kDeleteForGoodFlags : kDeleteToRecycleBinFlags;
}

bool ShellCanTake(std::wstring_view path) { return path.size() < kShellPathLimit; }

PathKind KindOfFailedLookup(std::uint32_t systemError) {
    constexpr std::uint32_t kFileNotFound = 2, kPathNotFound = 3;
    return systemError == kFileNotFound || systemError == kPathNotFound ? PathKind::Missing : PathKind::Unknown;
}

std::wstring LookupForm(const std::wstring& path) {
    if (path.size() < kShellPathLimit) return path;
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\')
        return L"\\\\?\\" + path;
    if (StartsWith(path, L"\\\\") && !StartsWith(path, L"\\\\?\\") && !StartsWith(path, L"\\\\.\\"))
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
    if (EndsInSpaceOrDot(name)) return false;
    return FolderSafe(folder, separator);
}

void DeleteCommandClick(DeleteView& view, ResultStore& rows, FileShell& shell, wchar_t separator) {
    const DeleteAnswer answer = view.AskDeleteConfirmation();
    if (answer == DeleteAnswer::Cancel) return;
    const std::uint16_t flags = DeleteFlags(answer);

    const std::size_t n = rows.Count();

    // Deletion pass: one shell call per checked row whose path names exactly one plain file that
    // the shell can take. A path is judged gone only on the system's own "not found".
    std::vector<bool> checked(n, false);
    std::vector<std::wstring> paths(n);
    std::vector<Outcome> outcomes(n, Outcome::Refused);
    for (std::size_t row = 0; row < n; ++row) {
        view.Step();
        if (!rows.Checked(row)) continue;
        checked[row] = true;
        paths[row] = rows.ExactPath(row);
        if (!NameSafeForShell(paths[row], rows.Name(row), separator)) continue;
        switch (shell.Inspect(paths[row])) {
        case PathKind::PlainFile:
            if (!ShellCanTake(paths[row])) break;  // too long for the shell: stays listed
            view.ShowDeleting(paths[row]);
            view.Step();
            shell.DeleteOneFile(paths[row], flags);  // judged below by what is left on disk
            outcomes[row] = Outcome::Sent;
            break;
        case PathKind::Missing:
            outcomes[row] = Outcome::AlreadyGone;
            break;
        case PathKind::Folder:   // something other than the listed file is there
        case PathKind::Unknown:  // the system could not tell: leave it alone
            break;
        }
    }

    // Collect pass: a checked row leaves only when its file is gone now.
    std::vector<std::size_t> kept;
    std::size_t failed = 0;
    for (std::size_t row = 0; row < n; ++row) {
        view.Step();
        const bool gone = checked[row] && outcomes[row] != Outcome::Refused &&
                          shell.InspectAfterCalls(paths[row]) == PathKind::Missing;
        if (gone) continue;
        kept.push_back(row);
        if (checked[row]) ++failed;
    }

    rows.KeepRows(kept);
    view.RowsKept();

    const std::size_t left = kept.size();
    view.SetResultCaption(L"扫描结果： 剩余的文件共有：" + NumberText(std::uint64_t{left}) + L"个");
    std::wstring status = L"删除文件" + NumberText(std::uint64_t{n - left}) + L"个 ";
    if (failed != 0) status += L"未能删除" + NumberText(std::uint64_t{failed}) + L"个";
    view.SetStatusText(status);
}

}  // namespace qorvani
