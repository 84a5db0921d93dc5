#pragma once
// What the result list's menu does with a row's file outside the program.
#include <windows.h>

#include <string>

namespace qorvani {

// Opens the file's folder in the shell with the file selected (SHOpenFolderAndSelectItems).
bool OpenFolderSelecting(const std::wstring& exactPath);
// Puts the text on the clipboard as Unicode text, owned by the window.
bool CopyToClipboard(HWND owner, const std::wstring& text);

}  // namespace qorvani
