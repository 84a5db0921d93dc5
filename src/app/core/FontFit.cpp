#include "app/core/FontFit.h"

#include "app/core/Layout.h"

namespace qorvani {

namespace {

int Scale(int value, int dpi) { return (value * dpi + 48) / 96; }

}  // namespace

int PathBoxLineSpace(int dpi) {
    const ControlLayout* pathBox = FindControl(kMainLayout, kIdPathBox);
    return TwipsToPixels(pathBox->height, dpi) - 2 * Scale(2, dpi);
}

int FontHeightAt(int stockHeight, int stockDpi, int dpi) {
    const long long height = stockHeight < 0 ? -static_cast<long long>(stockHeight) : stockHeight;
    if (stockDpi <= 0) stockDpi = 96;
    return static_cast<int>((height * dpi + stockDpi / 2) / stockDpi);
}

int FittingFontHeight(int wanted, int space, const std::function<int(int height)>& lineHeight) {
    for (int height = wanted; height > 1; --height)
        if (lineHeight(height) <= space) return height;
    return 1;
}

}  // namespace qorvani
