#pragma once
// "清除选中项目": one question, then one shell delete per checked row, then the list rebuilt from
// the rows whose files are still there, and the counts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "clean/core/RecycleBin.h"
#include "common/core/DriveTypes.h"
#include "common/core/Pacing.h"
#include "checklist/core/ResultStore.h"

namespace qorvani {

enum class DeleteAnswer { Yes, No, Cancel };

// The shell's FOF_ flags that a delete uses (checked against <shellapi.h> in app/win32/SdkValues.cpp).
inline constexpr std::uint16_t kFofSilent = 0x0004;           // no progress window
inline constexpr std::uint16_t kFofNoConfirmation = 0x0010;   // "Yes to All" to the shell's questions
inline constexpr std::uint16_t kFofAllowUndo = 0x0040;        // into the Recycle Bin
inline constexpr std::uint16_t kFofFilesOnly = 0x0080;
inline constexpr std::uint16_t kFofNoErrorUi = 0x0400;        // no box of the shell's own per failing file
// The shell deletes a web page's "X_files" / "X.files" folder together with "X.htm" (and the
// like) unless told not to: only the listed file may go.
inline constexpr std::uint16_t kFofNoConnectedElements = 0x2000;
inline constexpr std::uint16_t kFofWantNukeWarning = 0x4000;  // ask before destroying what cannot be recycled

// "是": for good, with no box per failing file (the command counts failures itself), and never a
// connected folder that was not listed.
inline constexpr std::uint16_t kDeleteForGoodFlags =
    kFofSilent | kFofNoConfirmation | kFofFilesOnly | kFofNoErrorUi | kFofNoConnectedElements;  // 0x2494
// "否": into the Recycle Bin. Without the nuke warning, "Yes to All" would destroy for good,
// without a word, a file that cannot be recycled (too big for the bin, a removable or network
// drive, the bin turned off); with it the shell asks, and a file the user keeps stays listed.
inline constexpr std::uint16_t kDeleteToRecycleBinFlags =
    kDeleteForGoodFlags | kFofAllowUndo | kFofWantNukeWarning;  // 0x64D4

// The flags of every shell call for an answer (Yes or No).
std::uint16_t DeleteFlags(DeleteAnswer answer);

// The shell's file operation takes no path of MAX_PATH (260) characters or more: such a path is
// never sent.
inline constexpr std::size_t kShellPathLimit = 260;  // MAX_PATH
// The system's answer for a name its folder does not hold.
inline constexpr std::uint32_t kErrorFileNotFound = 2;  // ERROR_FILE_NOT_FOUND
bool ShellCanTake(std::wstring_view path);

// The question asked once when "否" meets checked files that the Recycle Bin will not take.
std::wstring ForGoodQuestion(std::size_t files);

// Missing only when the system said so (not found); Unknown when it could not tell (access
// denied, a network path out of reach, ...): such a path is neither sent nor judged gone.
enum class PathKind { Missing, PlainFile, Folder, Unknown };

// What a failed look-up means, by the system's error code: only "file not found" (2), the answer
// of a folder that is still there, says that nothing is there.
PathKind KindOfFailedLookup(std::uint32_t systemError);

// The form of a path that file look-ups take: as it is below MAX_PATH; beyond it the long form,
// \\?\C:\... for a drive path and \\?\UNC\server\share\... for a network path. Anything else
// (already in the long form, or not a full path) is returned as it is.
std::wstring LookupForm(const std::wstring& path);

// Why a checked file was kept.
enum class KeptReason {
    RefusedName,  // a name the shell could read as another file (NameSafeForShell, a case twin)
    NoBin,        // "否", and the Recycle Bin will not take it, and the user kept it
    TooLong,      // a path the shell cannot take
    NotAFile,     // a folder or something else stands there now
    Unreachable,  // the system could not tell what is there (a drive gone, a share out of reach)
    InUse,        // the shell's call failed: another program has the file open
    AccessDenied, // the shell's call failed: no right to delete it
    Failed,       // the shell's call failed otherwise, or the file came back
    Stopped,      // never sent: the user stopped the delete first
};
// The reason for a file still there after the shell's call, by the call's result (a Win32 error,
// the shell's own DE_ code, or an HRESULT).
KeptReason ReasonOfFailedCall(int result);

// What the delete needs of the window besides the rows themselves.
class DeleteView {
public:
    virtual ~DeleteView() = default;
    virtual DeleteAnswer AskDeleteConfirmation() = 0;
    // After "否", when files would go for good because the Recycle Bin will not take them (their
    // volume has none, its bin is turned off, or a file is larger than it): may these files (their
    // number) be deleted for good? Asked at most once, before any file is sent.
    virtual bool AskDeleteForGood(std::size_t /*files*/) { return false; }
    // The rows were rebuilt (those kept, in their order, with their checks and sizes): show them.
    virtual void RowsKept() = 0;
    virtual void SetResultCaption(std::wstring_view text) = 0;
    virtual void SetStatusText(std::wstring_view text) = 0;
    // Right before each shell call, with the path being sent: the window shows it at its own pace.
    virtual void ShowDeleting(const std::wstring& /*path*/) {}
    // Asked before each shell call: true stops the delete there (the files not yet sent stay).
    virtual bool StopRequested() { return false; }
    // Each checked file kept, with why, in the rows' order, before RowsKept.
    virtual void FileKept(const std::wstring& /*path*/, KeptReason /*reason*/) {}
};

class FileShell {
public:
    virtual ~FileShell() = default;
    // What is at the path now, by its exact name (see PathKind).
    virtual PathKind Inspect(const std::wstring& path) = 0;
    // The same, once every call of the pass is made: lets the shell look a folder of many rows up
    // once instead of each row in turn.
    virtual PathKind InspectAfterCalls(const std::wstring& path) { return Inspect(path); }
    // The Recycle Bin of the volume that the file really lives on (through links).
    virtual BinFacts RecycleBinOf(const std::wstring& /*path*/) { return {}; }
    // One shell delete of one file (FO_DELETE with these flags); the result is the shell's.
    virtual int DeleteOneFile(const std::wstring& path, std::uint16_t flags) = 0;
    // What the shell said became of the file of the last DeleteOneFile sent to the Recycle Bin.
    virtual SentFate FateOfLastDelete() { return SentFate::Untold; }
};

// False for a path that the shell could read as another file or as several: the name (given
// apart, since a name holding the separator cannot be told from a folder) holds a character that
// Windows forbids in names (\ / : * ? " < > | or a control character), ends in a space or a
// dot, or is a device's name (NUL.tmp, aux.bak: ReservedDeviceName); the path is not its folder
// part, ending in the separator, followed by the name; or the folder part holds * ? " < > | or a
// control character, or a folder name that ends in a space or a dot (which Windows would strip,
// naming another folder). A name or folder holding U+FFFD, the stand-in for bytes the system
// could not decode, is refused too: it may name another file.
bool NameSafeForShell(std::wstring_view path, std::wstring_view name, wchar_t separator = L'\\');

// The rows whose name has another spelling among the rows of the same folder (A.tmp beside a.tmp
// in a case-sensitive folder): the same display text, another exact name.
std::vector<bool> CaseTwins(const ResultStore& rows, Pacing& pace);

// The delete button's click over the result rows: each row's exact path (folder and name as
// listed) and check box are read from rows, and rows keeps what is left. The delete paces itself
// through pace: Begin and End around the whole click (a cancelled one included), AtWork at every row of its passes, sent or not, and right before each shell call,
// so that no stretch of a long delete goes without a keep-alive; it runs no input.
void DeleteCommandClick(DeleteView& view, ResultStore& rows, FileShell& shell, Pacing& pace,
                        wchar_t separator = L'\\');

}  // namespace qorvani
