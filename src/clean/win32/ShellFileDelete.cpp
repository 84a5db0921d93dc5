#include "clean/win32/ShellFileDelete.h"

#include <shellapi.h>

#include <string>

#include "common/win32/Handles.h"

namespace qorvani {

namespace {

std::uint64_t Ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

EntryStamp StampOf(DWORD attributes, DWORD sizeHigh, DWORD sizeLow, const FILETIME& created, const FILETIME& written) {
    return {(attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, (static_cast<std::uint64_t>(sizeHigh) << 32) | sizeLow,
            Ticks(created), Ticks(written)};
}

}  // namespace

std::uint32_t ShellFileDelete::Stamp(const std::wstring& path, EntryStamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return GetLastError();
    stamp = StampOf(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftCreationTime,
                    data.ftLastWriteTime);
    return 0;
}

std::uint32_t ShellFileDelete::List(const std::wstring& pattern, std::vector<ListedEntry>& entries) {
    WIN32_FIND_DATAW data;
    FindHandle handle(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                       FIND_FIRST_EX_LARGE_FETCH));
    if (!handle.Valid()) return GetLastError();
    do {
        pace_.AtWork();
        entries.push_back({data.cFileName, StampOf(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow,
                                                   data.ftCreationTime, data.ftLastWriteTime)});
    } while (FindNextFileW(handle.Get(), &data));
    // Only "no more files" ends a listing whole; any other failure cuts it short.
    const DWORD error = GetLastError();
    if (error == ERROR_NO_MORE_FILES) return 0;
    return error != 0 ? error : ERROR_GEN_FAILURE;
}

std::uint32_t ShellFileDelete::Reach(const std::wstring& pattern) {
    WIN32_FIND_DATAW data;
    FindHandle handle(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    return handle.Valid() ? 0 : GetLastError();
}

int ShellFileDelete::DeleteOneFile(const std::wstring& path, std::uint16_t flags) {
    lastFate_ = SentFate::Untold;
    if ((flags & FOF_ALLOWUNDO) != 0) {
        if (const auto answer = recycle_.Delete(path, flags)) {
            lastFate_ = answer->fate;
            return answer->code;
        }
    }
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
