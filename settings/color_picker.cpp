#include "settings/color_picker.h"

#include "base/color.h"

namespace mivra {

std::array<TwipRect, kPickerCellCount> PickerCells(const TwipRect& cell0) {
    std::array<TwipRect, kPickerCellCount> cells{};
    cells[0] = cell0;
    for (int i = 1; i < kPickerCellCount; ++i) {
        // Every new cell copies cell 0 as it stands, then moves to its place.
        const TwipRect& first = cells[0];
        TwipRect& c = cells[i];
        c.left = (i & 7) * first.width + first.left;
        c.width = first.width;
        c.height = first.height;
        c.top = i > 7 ? first.top + first.height : first.top;
    }
    return cells;
}

int PickerOuterWidthPixels(int dpi) {
    // 2 left + 8.25 width, counted in quarter twips to stay whole.
    const int quarters = 8 * kPickerCell0.left + 33 * kPickerCell0.width;
    return RoundedQuotient(quarters * dpi, 4 * kTwipsPerInch);
}

int PickerCellAtPixel(int x, int y, int dpi) {
    const auto cells = PickerCells();
    // Later cells were brought to the front, so they take the point first.
    for (int i = kPickerCellCount - 1; i >= 0; --i) {
        if (WindowPixels(cells[i], dpi).Contains(x, y)) return i;
    }
    return -1;
}

std::int32_t PickedColorFor(int cell) {
    if (cell < 0 || cell >= kPickerCellCount) return kNoColorChoice;
    return static_cast<std::int32_t>(kPalette[cell]);
}

} // namespace mivra
