// Where the calendar window opens: near the bottom right of the screen,
// clear of the notification area.
#pragma once

namespace mivra {

struct PixelPoint {
    int x = 0, y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Right edge 150 twips in from the screen's right edge, bottom edge 750 twips
// above its bottom, worked in twips like the rest of the layout.
PixelPoint BottomRightPlacement(int screenWidthPx, int screenHeightPx, int windowWidthTwips,
                                int windowHeightTwips, int dpi);

// Centred on the screen, for the options window.
PixelPoint CentredPlacement(int screenWidthPx, int screenHeightPx, int windowWidthTwips,
                            int windowHeightTwips, int dpi);

} // namespace mivra
