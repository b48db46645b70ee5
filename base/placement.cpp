#include "base/placement.h"

#include <algorithm>

#include "base/twips.h"

namespace mivra {

// Both placements are worked in twips, with the screen's size converted to
// twips, and only the result rounded to pixels. Kept as exact fractions of
// twips x dpi so the one rounding rule applies without an intermediate
// rounding.

PixelPoint BottomRightPlacement(int sw, int sh, int ww, int wh, int dpi) {
    if (dpi <= 0) return {};
    const int left = sw * kTwipsPerInch - (ww + 150) * dpi;
    const int top = sh * kTwipsPerInch - (wh + 750) * dpi;
    return {RoundedQuotient(left, kTwipsPerInch), RoundedQuotient(top, kTwipsPerInch)};
}

bool IsOnScreen(const PixelRect& w, std::span<const PixelRect> workAreas) {
    const long long area = 1LL * (w.right - w.left) * (w.bottom - w.top);
    for (const PixelRect& a : workAreas) {
        const long long width = std::min(w.right, a.right) - std::max(w.left, a.left);
        const long long height = std::min(w.bottom, a.bottom) - std::max(w.top, a.top);
        if (width > 0 && height > 0 && 4 * width * height >= area) return true;
    }
    return false;
}

PixelPoint CentredPlacement(int sw, int sh, int ww, int wh, int dpi) {
    if (dpi <= 0) return {};
    const int left = sw * kTwipsPerInch - ww * dpi;
    const int top = sh * kTwipsPerInch - wh * dpi;
    return {RoundedQuotient(left, 2 * kTwipsPerInch), RoundedQuotient(top, 2 * kTwipsPerInch)};
}

} // namespace mivra
