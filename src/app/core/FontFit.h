#pragma once
// The controls' font: the window's default font at the screen's DPI, made smaller only where its
// line would not fit inside the path box (270 twips high, with a sunken edge).
#include <functional>

namespace qorvani {

// Pixels that a line of text has inside the path box at dpi: its layout height less its sunken edge
// (two pixels at 96 DPI, scaled with the DPI) above and below.
int PathBoxLineSpace(int dpi);

// The default font's height at dpi, given its height at 96 DPI (the size it is made for).
int ScaledFontHeight(int heightAt96, int dpi);

// The largest font height (pixels per em) not above wanted whose line, as lineHeight measures it,
// fits into space; wanted itself when it fits, 1 when nothing does.
int FittingFontHeight(int wanted, int space, const std::function<int(int height)>& lineHeight);

}  // namespace qorvani
