#include "controls/win32/SystemColours.h"

namespace qorvani {

COLORREF ToColorRef(Rgb rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

Rgb FromColorRef(COLORREF colour) {
    return (static_cast<Rgb>(GetRValue(colour)) << 16) | (static_cast<Rgb>(GetGValue(colour)) << 8) | GetBValue(colour);
}

bool SystemHighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

SystemColours CurrentSystemColours() {
    return {FromColorRef(GetSysColor(COLOR_BTNTEXT)), FromColorRef(GetSysColor(COLOR_GRAYTEXT)),
            FromColorRef(GetSysColor(COLOR_HIGHLIGHT))};
}

}  // namespace qorvani
