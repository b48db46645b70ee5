#include "base/placement.h"

#include <cmath>

#include "base/twips.h"

namespace mivra {

namespace {

int ToPixels(float twips, int dpi) {
    return static_cast<int>(std::lround(twips * static_cast<float>(dpi) / kTwipsPerInch));
}

float ScreenTwips(int px, int dpi) {
    return static_cast<float>(px) * kTwipsPerInch / static_cast<float>(dpi);
}

} // namespace

PixelPoint BottomRightPlacement(int sw, int sh, int ww, int wh, int dpi) {
    if (dpi <= 0) return {};
    const float left = ScreenTwips(sw, dpi) - static_cast<float>(ww) - 150.0f;
    const float top = ScreenTwips(sh, dpi) - static_cast<float>(wh) - 750.0f;
    return {ToPixels(left, dpi), ToPixels(top, dpi)};
}

PixelPoint CentredPlacement(int sw, int sh, int ww, int wh, int dpi) {
    if (dpi <= 0) return {};
    const float left = (ScreenTwips(sw, dpi) - static_cast<float>(ww)) / 2.0f;
    const float top = (ScreenTwips(sh, dpi) - static_cast<float>(wh)) / 2.0f;
    return {ToPixels(left, dpi), ToPixels(top, dpi)};
}

} // namespace mivra
