#include "base/placement.h"

#include "base/twips.h"

namespace mivra {

// Both placements are worked in twips, with the screen's size converted to
// twips, and only the result rounded to pixels. Kept as exact fractions of
// twips x dpi so the one rounding rule applies without an intermediate
// rounding.

PixelPoint BottomRightPlacement(int sw, int sh, int ww, int wh, int dpi) {
    if (dpi <= 0) return {};
    const long long left = 1LL * sw * kTwipsPerInch - (ww + 150LL) * dpi;
    const long long top = 1LL * sh * kTwipsPerInch - (wh + 750LL) * dpi;
    return {RoundedQuotient(left, kTwipsPerInch), RoundedQuotient(top, kTwipsPerInch)};
}

PixelPoint CentredPlacement(int sw, int sh, int ww, int wh, int dpi) {
    if (dpi <= 0) return {};
    const long long left = 1LL * sw * kTwipsPerInch - 1LL * ww * dpi;
    const long long top = 1LL * sh * kTwipsPerInch - 1LL * wh * dpi;
    return {RoundedQuotient(left, 2 * kTwipsPerInch), RoundedQuotient(top, 2 * kTwipsPerInch)};
}

} // namespace mivra
