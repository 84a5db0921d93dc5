#pragma once
// The frame of a fixed-size window whose client area is laid out in twips: at every DPI the
// frame is the client's pixels plus what the border, the caption and the menu take at that DPI,
// so the client holds the twips layout exactly. Scaling the frame as a whole (what the system
// does unless the window answers WM_GETDPISCALEDSIZE) scales the caption and the borders with
// the client and can leave the client a few pixels off.
#include "common/core/ControlLayout.h"

namespace qorvani {

// What the frame adds round the client area, in pixels at one DPI (all non-negative).
struct FrameMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct PixelSize {
    int width = 0, height = 0;
    friend constexpr bool operator==(const PixelSize&, const PixelSize&) = default;
};

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    constexpr PixelSize Size() const { return {right - left, bottom - top}; }
    friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The client area of a layout of so many twips at dpi, in pixels.
constexpr PixelSize ClientPixels(int widthTwips, int heightTwips, int dpi) {
    return {TwipsToPixels(widthTwips, dpi), TwipsToPixels(heightTwips, dpi)};
}

// The frame that holds that client area exactly, with the margins the frame has at the same dpi.
constexpr PixelSize FrameForClient(PixelSize client, const FrameMargins& margins) {
    return {client.width + margins.left + margins.right, client.height + margins.top + margins.bottom};
}

// A frame of the given size with the same centre as frame (a frame laid out again at another
// DPI where it stood, when no place is suggested).
constexpr PixelRect AroundCentreOf(const PixelRect& frame, PixelSize size) {
    const int left = frame.left + (frame.right - frame.left - size.width) / 2;
    const int top = frame.top + (frame.bottom - frame.top - size.height) / 2;
    return {left, top, left + size.width, top + size.height};
}

}  // namespace qorvani
