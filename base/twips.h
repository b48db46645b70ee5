// Design units and their conversion to pixels. Layouts keep their sizes in
// twips (1440 to the inch); a rectangle becomes pixels by one of two rules,
// one for each kind of rectangle, at the DPI of the monitor the window is on.
#pragma once

namespace mivra {

inline constexpr int kTwipsPerInch = 1440;

// Design sizes and screen sizes times a DPI stay far inside 32 bits (a few
// thousand twips, or tens of thousands of pixels in twips, at a few hundred
// dpi), so the conversions work in int: the 32-bit program then needs no
// 64-bit division from the compiler's library.

// The rounding rule from design units to pixels: n / d to the nearest whole
// number, halves away from zero, as MulDiv does. d must be positive.
constexpr int RoundedQuotient(int n, int d) {
    return n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d);
}

constexpr int TwipsToPixels(int twips, int dpi) {
    return RoundedQuotient(twips * dpi, kTwipsPerInch);
}

// A rectangle in design units (twips), converted edge by edge so that
// neighbouring controls that share an edge in twips share it in pixels too.
struct TwipRect {
    int left = 0, top = 0, width = 0, height = 0;
};

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
    // Half-open, as Windows hit-tests rectangles.
    constexpr bool Contains(int x, int y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
};

// Windows and real controls: every edge to the nearest pixel, so sizes and
// places scale as the system scales them. Where a control stands, where it
// takes the mouse and where readers are told it is all come from here.
constexpr PixelRect WindowPixels(const TwipRect& r, int dpi) {
    return {TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi),
            TwipsToPixels(r.left + r.width, dpi), TwipsToPixels(r.top + r.height, dpi)};
}

constexpr int FlooredQuotient(int n, int d) {
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

// What a window paints itself (labels, shapes): every edge rounded down.
// The layouts overlap bordered neighbours by 12 twips so that they share
// one line, and leave 12-twip gaps for a line of the background; at 96, 120,
// 144 and 192 dpi only rounding down keeps both (to the nearest, 12 twips
// at 96 dpi may become no pixel or two). Where it is painted, where it takes
// the mouse and where readers are told it is all come from here.
constexpr PixelRect PaintedPixels(const TwipRect& r, int dpi) {
    auto edge = [dpi](int twips) { return FlooredQuotient(twips * dpi, kTwipsPerInch); };
    return {edge(r.left), edge(r.top), edge(r.left + r.width), edge(r.top + r.height)};
}

} // namespace mivra
