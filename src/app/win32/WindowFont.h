#pragma once
// The main window's font: the window's default font (the default GUI font), scaled once from the
// system DPI it is given at to the window's DPI, and made smaller only if a line of it would not
// fit into the path box.
#include <windows.h>

namespace qorvani {

// Owned by the caller; nullptr if no font can be had.
HFONT CreateWindowFont(int dpi);

// The height of a line of the font on the screen (tmHeight), in pixels.
int FontLineHeight(HFONT font);

}  // namespace qorvani
