#pragma once
// What the Windows tests and the Windows benchmarks both need to drive the real controls and to
// read them back, and the text and file-tree helpers around that (the qorvani_drive library).
#include <windows.h>

#include <string>

namespace qorvani::drive {

// A window's text (a control's caption, the path box).
std::wstring Text(HWND window);
// The status bar's text: its simple text, or its first part while it has parts.
std::wstring StatusText(HWND statusBar);
// The checked total at the status bar's right end; empty while there is none.
std::wstring StatusTotal(HWND statusBar);

// A press and release of the left button at the centre of a flat button, preceded by a move.
void ClickFlat(HWND button);
// The same, posted: it crosses processes as it is, and runs when the button's thread next takes
// its messages.
void PostMoveAndClickFlat(HWND button);
// Real input: moves the pointer to the centre of the window and presses/releases the left button.
void SendRealClick(HWND window);

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);
// The system's upper-case mapping (the system default locale's), as the system itself gives it.
std::wstring SystemUpper(const std::wstring& text);

// Removes a folder with everything in it (its path with or without the closing "\").
void RemoveTree(const std::wstring& folder);

}  // namespace qorvani::drive
