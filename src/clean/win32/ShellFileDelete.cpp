#include "clean/win32/ShellFileDelete.h"

#include <shellapi.h>

#include <string>

#include "common/win32/Handles.h"

namespace qorvani {

PathKind ShellFileDelete::Inspect(const std::wstring& path) {
    // Beyond MAX_PATH (a long folder, or a network path) the look-up goes through the long form,
    // so that a file the shell cannot reach is still seen to be there.
    const std::wstring lookup = LookupForm(path);
    // The cheap look first: "not found" holds for every spelling of the name. Any other failure
    // (access denied, a network path out of reach) says nothing about the file.
    if (GetFileAttributesW(lookup.c_str()) == INVALID_FILE_ATTRIBUTES) return KindOfFailedLookup(GetLastError());
    // Something answers to the name, maybe another spelling of it in a case-sensitive folder:
    // list it, which gives the name as stored, so that only the exact name counts.
    WIN32_FIND_DATAW data;
    FindHandle handle(FindFirstFileExW(lookup.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (!handle.Valid()) return KindOfFailedLookup(GetLastError());
    const std::size_t slash = path.find_last_of(L'\\');
    const std::wstring_view name = slash == std::wstring::npos ? std::wstring_view(path)
                                                               : std::wstring_view(path).substr(slash + 1);
    do {
        if (name == data.cFileName)
            return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::PlainFile;
    } while (FindNextFileW(handle.Get(), &data));
    return PathKind::Missing;  // the folder holds other spellings only
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
