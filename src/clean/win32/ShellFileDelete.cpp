#include "clean/win32/ShellFileDelete.h"

#include <shellapi.h>

#include <string>

#include "common/win32/Handles.h"

namespace qorvani {

PathKind ShellFileDelete::Inspect(const std::wstring& path) {
    // Looks the entry up by listing it: that gives the name as stored, so an entry whose name
    // differs in case (another file in a case-sensitive folder) does not count as this one.
    // A path of MAX_PATH or more can still be looked up through the long-path form, so that a
    // file the shell could not reach is seen to be still there.
    std::wstring lookup = path;
    if (lookup.size() >= MAX_PATH && lookup.size() > 2 && lookup[1] == L':') lookup.insert(0, L"\\\\?\\");
    WIN32_FIND_DATAW data;
    FindHandle handle(FindFirstFileExW(lookup.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (!handle.Valid()) return PathKind::Missing;
    const std::size_t slash = path.find_last_of(L'\\');
    const std::wstring_view name = slash == std::wstring::npos ? std::wstring_view(path)
                                                               : std::wstring_view(path).substr(slash + 1);
    do {
        if (name == data.cFileName)
            return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::PlainFile;
    } while (FindNextFileW(handle.Get(), &data));
    return PathKind::Missing;
}

int ShellFileDelete::DeleteOneFile(const std::wstring& path, std::uint16_t flags) {
    std::wstring from = path;
    from.push_back(L'\0');  // a list of exactly one name, ended by two NULs
    SHFILEOPSTRUCTW op{};
    op.hwnd = owner_;
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.pTo = nullptr;
    op.fFlags = flags;
    op.fAnyOperationsAborted = FALSE;
    op.hNameMappings = nullptr;
    op.lpszProgressTitle = nullptr;
    return SHFileOperationW(&op);
}

}  // namespace qorvani
