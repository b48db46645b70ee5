// Design units and their conversion to pixels. Layouts keep their sizes in
// twips (1440 to the inch); every conversion rounds by the one rule below,
// with the DPI of the monitor the window is on.
#pragma once

#include <string_view>

namespace mivra {

inline constexpr int kTwipsPerInch = 1440;

// The rounding rule from design units to pixels: n / d to the nearest whole
// number, halves away from zero, as MulDiv does. d must be positive.
constexpr int RoundedQuotient(long long n, long long d) {
    return static_cast<int>(n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d));
}

constexpr int TwipsToPixels(int twips, int dpi) {
    return RoundedQuotient(static_cast<long long>(twips) * dpi, kTwipsPerInch);
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

constexpr PixelRect ToPixels(const TwipRect& r, int dpi) {
    return {TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi),
            TwipsToPixels(r.left + r.width, dpi), TwipsToPixels(r.top + r.height, dpi)};
}

// A font as designed; made into a real one for a DPI by the platform layer.
struct FontSpec {
    std::wstring_view face;
    int centiPoints = 0; // hundredths of a point: 8.25 pt is 825
    bool symbol = false; // SYMBOL_CHARSET
};

} // namespace mivra
