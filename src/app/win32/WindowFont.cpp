#include "app/win32/WindowFont.h"

#include "app/core/FontFit.h"
#include "common/win32/DeviceContext.h"
#include "common/win32/GdiObject.h"
#include "common/win32/WindowClass.h"

namespace qorvani {

int FontLineHeight(HFONT font) {
    const WindowDc screen = GetWindowDc(nullptr);
    const SelectedObject selected = SelectInto(screen.Get(), font);
    TEXTMETRICW metrics{};
    return GetTextMetricsW(screen.Get(), &metrics) ? metrics.tmHeight : 0;
}

HFONT CreateWindowFont(int dpi) {
    LOGFONTW font{};
    if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font) != sizeof(font)) return nullptr;
    const int wanted = FontHeightAt(font.lfHeight, SystemDpi(), dpi);
    const int height = FittingFontHeight(wanted, PathBoxLineSpace(dpi), [&font](int candidate) {
        LOGFONTW trial = font;
        trial.lfHeight = -candidate;
        trial.lfWidth = 0;
        GdiObject<HFONT> made(CreateFontIndirectW(&trial));
        return made ? FontLineHeight(made.Get()) : 0;
    });
    font.lfHeight = -height;
    font.lfWidth = 0;
    return CreateFontIndirectW(&font);
}

}  // namespace qorvani
