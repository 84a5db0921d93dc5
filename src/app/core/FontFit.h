#pragma once
// The controls' font: the window's default font at the window's DPI, made smaller only where its
// line would not fit inside the path box (270 twips high, with a sunken edge).
#include <functional>

namespace qorvani {

// Pixels that a line of text has inside the path box at dpi: its layout height less its sunken edge
// (two pixels at 96 DPI, scaled with the DPI) above and below.
int PathBoxLineSpace(int dpi);

// The default font's height at dpi, given its height as the system gives it (stockHeight, in
// either sign) and the DPI it gives it for (stockDpi: the system DPI, since the system makes its
// stock fonts at that DPI, on Windows as under Wine). The height is scaled once, from the
// stock font's own DPI: so the window font has the same height at a given DPI whatever the
// system DPI is (12 pixels at 96, 15 at 120, 18 at 144 for a 9-point font).
int FontHeightAt(int stockHeight, int stockDpi, int dpi);

// The largest font height (pixels per em) not above wanted whose line, as lineHeight measures it,
// fits into space; wanted itself when it fits, 1 when nothing does.
int FittingFontHeight(int wanted, int space, const std::function<int(int height)>& lineHeight);

}  // namespace qorvani
