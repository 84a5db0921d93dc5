#pragma once
// "清除选中项目": one question, then one shell delete per checked row, then the list rebuilt from
// the rows whose files are still there, and the counts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qorvani {

enum class DeleteAnswer { Yes, No, Cancel };

inline constexpr std::uint16_t kDeleteForGoodFlags = 0x0094;     // silent, no confirmation, files only
inline constexpr std::uint16_t kDeleteToRecycleBinFlags = 0x00D4; // the same plus allow undo

inline constexpr wchar_t kDeleteTitle[] = L"确认文件删除";
inline constexpr wchar_t kDeleteQuestion[] =
    L"确实要删除所有选定文件吗？\r\n"
    L"点击“是”将文件直接删除，点击“否”将文件放入回收站，点击“取消”放弃删除";

enum class PathKind { Missing, PlainFile, Folder };

class DeleteView {
public:
    virtual ~DeleteView() = default;
    virtual DeleteAnswer AskDeleteConfirmation() = 0;
    virtual std::size_t RowCount() = 0;
    virtual bool RowChecked(std::size_t row) = 0;         // rows from 0
    virtual std::wstring RowPath(std::size_t row) = 0;    // the exact path as listed
    // The file name exactly as listed: RowPath ends with it, after the folder's separator.
    virtual std::wstring RowName(std::size_t row) = 0;
    // Keeps the given rows, in this order, without their size cells; each keeps its check box.
    virtual void KeepRows(const std::vector<std::size_t>& rows) = 0;
    virtual void SetResultCaption(std::wstring_view text) = 0;
    virtual void SetStatusText(std::wstring_view text) = 0;
    // Right before each shell call, with the path being sent: the window shows it at its own
    // pace and stays responsive, running no input.
    virtual void ShowDeleting(const std::wstring& /*path*/) {}
};

class FileShell {
public:
    virtual ~FileShell() = default;
    // What is at the path now, by its exact name.
    virtual PathKind Inspect(const std::wstring& path) = 0;
    // One shell delete of one file (FO_DELETE with these flags); the result is the shell's.
    virtual int DeleteOneFile(const std::wstring& path, std::uint16_t flags) = 0;
};

// False for a path that the shell could read as another file or as several: the name (given
// apart, since a name holding the separator cannot be told from a folder) holds a character that
// Windows forbids in names (\ / : * ? " < > | or a control character) or ends in a space or a
// dot; the path is not its folder part, ending in the separator, followed by the name; or the
// folder part holds * ? " < > | or a control character, or a folder name that ends in a space or
// a dot (which Windows would strip, naming another folder). A name or folder holding U+FFFD,
// the stand-in for bytes the system could not decode, is refused too: it may name another file.
bool NameSafeForShell(std::wstring_view path, std::wstring_view name, wchar_t separator = L'\\');

void DeleteCommandClick(DeleteView& view, FileShell& shell, wchar_t separator = L'\\');

}  // namespace qorvani
