#include "settings/color_picker.h"

#include <gtest/gtest.h>

#include <tuple>

#include "base/color.h"

namespace mivra {
namespace {

TEST(ColorPicker, CellsFormTwoTouchingRowsOfEight) {
    const auto cells = PickerCells();
    for (int i = 0; i < kPickerCellCount; ++i) {
        const TwipRect& c = cells[i];
        EXPECT_EQ(std::tuple(c.left, c.top, c.width, c.height),
                  std::tuple((i % 8) * 495, i < 8 ? 0 : 375, 495, 375))
            << i;
    }
    // Cell 8 stands directly below cell 0, cell 15 below cell 7.
    for (auto [below, above] : {std::pair(8, 0), std::pair(15, 7)})
        EXPECT_EQ(std::pair(cells[below].left, cells[below].top),
                  std::pair(cells[above].left, cells[above].top + cells[above].height));

    // Painted, neighbours share their edges at every DPI: no gap, no overlap.
    for (int dpi : {96, 120, 144, 192}) {
        for (int i = 0; i < kPickerCellCount; ++i) {
            const PixelRect r = WindowPixels(cells[i], dpi);
            if (i % 8 != 7) {
                EXPECT_EQ(r.right, WindowPixels(cells[i + 1], dpi).left) << i << "@" << dpi;
            }
            if (i < 8) {
                EXPECT_EQ(r.bottom, WindowPixels(cells[i + 8], dpi).top) << i << "@" << dpi;
            }
        }
    }
}

TEST(ColorPicker, LoadStepsFollowCellZeroWhereverItStands) {
    const auto cells = PickerCells({60, 30, 400, 300});
    EXPECT_EQ(std::tuple(cells[0].left, cells[5].left, cells[5].top, cells[13].left, cells[13].top),
              std::tuple(60, 5 * 400 + 60, 30, 5 * 400 + 60, 330));
}

TEST(ColorPicker, OuterWidthIsEightAndAQuarterCells) {
    // 272.25, 340.3, 408.4 and 544.5 pixels; the quarter cell leaves a few
    // pixels for the frame beside the cells.
    for (auto [dpi, width] : {std::pair(96, 272), {120, 340}, {144, 408}, {192, 545}}) {
        EXPECT_EQ(PickerOuterWidthPixels(dpi), width) << dpi;
        EXPECT_GE(PickerOuterWidthPixels(dpi) - WindowPixels(PickerCells()[7], dpi).right, 6)
            << dpi;
    }
}

TEST(ColorPicker, ACellGivesItsPaletteColourAndEveryOtherEndGivesNoChoice) {
    EXPECT_EQ(std::pair(PickedColorFor(0), PickedColorFor(15)), std::pair(0, 16777215));
    for (int i = 0; i < kPickerCellCount; ++i)
        EXPECT_EQ(PickedColorFor(i), static_cast<std::int32_t>(kPalette[i])) << i;
    // Cancel, Esc, the caption's close button, Alt+F4.
    EXPECT_EQ(std::pair(PickedColorFor(-1), PickedColorFor(16)), std::pair(-1, -1));
}

TEST(ColorPicker, HitTestFindsTheCellUnderAPixelAndNothingBeside) {
    for (int dpi : {96, 144}) {
        const auto cells = PickerCells();
        for (int i = 0; i < kPickerCellCount; ++i) {
            const PixelRect r = WindowPixels(cells[i], dpi);
            EXPECT_EQ(PickerCellAtPixel(r.left, r.top, dpi), i) << i;
            EXPECT_EQ(PickerCellAtPixel(r.right - 1, r.bottom - 1, dpi), i) << i;
        }
        const PixelRect last = WindowPixels(cells[15], dpi);
        EXPECT_EQ(PickerCellAtPixel(last.right, last.top, dpi), -1);
        EXPECT_EQ(PickerCellAtPixel(last.left, last.bottom, dpi), -1);
        EXPECT_EQ(PickerCellAtPixel(-1, 0, dpi), -1);
        const PixelRect cancel = WindowPixels(kPickerCancelRect, dpi);
        EXPECT_EQ(PickerCellAtPixel(cancel.left + 2, cancel.top + 2, dpi), -1);
    }
}

} // namespace
} // namespace mivra
