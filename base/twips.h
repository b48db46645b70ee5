// Twips to pixels in one place. Layouts keep their design sizes in twips
// (1440 to the inch); every conversion goes through here with the DPI of the
// monitor the window is on.
#pragma once

namespace mivra {

inline constexpr int kTwipsPerInch = 1440;

// Rounds to the nearest pixel, halves away from zero, as MulDiv does.
constexpr int TwipsToPixels(int twips, int dpi) {
    const long long p = static_cast<long long>(twips) * dpi;
    return static_cast<int>(p >= 0 ? (p + kTwipsPerInch / 2) / kTwipsPerInch
                                   : -((-p + kTwipsPerInch / 2) / kTwipsPerInch));
}

constexpr int PixelsToTwips(int pixels, int dpi) {
    return dpi > 0 ? static_cast<int>(static_cast<long long>(pixels) * kTwipsPerInch / dpi) : 0;
}

// A rectangle in design units (twips), converted edge by edge so that
// neighbouring controls that share an edge in twips share it in pixels too.
struct TwipRect {
    int left = 0, top = 0, width = 0, height = 0;
};

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

constexpr PixelRect ToPixels(const TwipRect& r, int dpi) {
    return {TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi),
            TwipsToPixels(r.left + r.width, dpi), TwipsToPixels(r.top + r.height, dpi)};
}

} // namespace mivra
