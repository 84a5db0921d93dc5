#pragma once
// What the result list's menu does with a row's file outside the program.
#include <windows.h>

#include <string>

namespace qorvani {

// How long a copy waits for a clipboard that another program holds.
inline constexpr DWORD kClipboardPatienceMs = 1000;

// Opens the file's folder in the shell with the file selected (SHOpenFolderAndSelectItems), also
// for paths beyond MAX_PATH; the folder alone when the file's own item cannot be made.
bool OpenFolderSelecting(const std::wstring& exactPath);
// Puts the text on the clipboard as Unicode text, owned by the window; false when the clipboard
// stayed taken by another program for kClipboardPatienceMs.
bool CopyToClipboard(HWND owner, const std::wstring& text);
// The file to export the list to, asked with the system's save dialog ("扫描结果.csv" proposed, a
// file there replaced only after the dialog's own question); empty when the user cancels.
std::wstring ChooseExportFile(HWND owner);
// Writes bytes as the whole of the file at path, made anew; false when it could not be written.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
// Opens the clipboard, trying again for up to patienceMs while another program holds it.
bool OpenClipboardWaiting(HWND owner, DWORD patienceMs);

}  // namespace qorvani
