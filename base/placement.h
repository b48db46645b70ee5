// Where the calendar window opens: near the bottom right of the screen,
// clear of the notification area.
#pragma once

#include <span>

#include "base/twips.h"

namespace mivra {

struct PixelPoint {
    int x = 0, y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Right edge 150 twips in from the screen's right edge, bottom edge 750 twips
// above its bottom, worked in twips like the rest of the layout.
PixelPoint BottomRightPlacement(int screenWidthPx, int screenHeightPx, int windowWidthTwips,
                                int windowHeightTwips, int dpi);

// Whether a window at `window` (screen pixels) can be seen and reached: at
// least a quarter of it lies on one monitor's work area. After a monitor
// goes away or the resolution drops, it may lie on none, or show a sliver.
bool IsOnScreen(const PixelRect& window, std::span<const PixelRect> workAreas);

// Centred on the screen, for the options window.
PixelPoint CentredPlacement(int screenWidthPx, int screenHeightPx, int windowWidthTwips,
                            int windowHeightTwips, int dpi);

} // namespace mivra
