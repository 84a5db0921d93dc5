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

int ScaledFontHeight(int heightAt96, int dpi) { return Scale(heightAt96 < 0 ? -heightAt96 : heightAt96, dpi); }

int FittingFontHeight(int wanted, int space, const std::function<int(int height)>& lineHeight) {
    for (int height = wanted; height > 1; --height)
        if (lineHeight(height) <= space) return height;
    return 1;
}

}  // namespace qorvani
