#pragma once
#include <windows.h>

#include <string>

namespace qorvani {

// The system's folder dialog, modal to owner: the chosen folder's path (ending in "\" only for
// a drive's root), or the empty text when the user cancels.
std::wstring ChooseFolder(HWND owner, const std::wstring& title);

}  // namespace qorvani
