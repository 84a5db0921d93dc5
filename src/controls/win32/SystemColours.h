#pragma once
// The system's colours as the flat button's rules take them (0xRRGGBB), and whether High Contrast
// is on.
#include <windows.h>

#include "controls/core/FlatButtonModel.h"

namespace qorvani {

COLORREF ToColorRef(Rgb rgb);
Rgb FromColorRef(COLORREF colour);
bool SystemHighContrast();
// The button text, grey text and highlight colours of the system's current scheme.
SystemColours CurrentSystemColours();

}  // namespace qorvani
