#include "settings/color_picker.h"

#include <gtest/gtest.h>

#include "base/color.h"

namespace mivra {
namespace {

TEST(ColorPicker, CellsFormTwoTouchingRowsOfEight) {
    const auto cells = PickerCells();
    for (int i = 0; i < kPickerCellCount; ++i) {
        const TwipRect& c = cells[i];
        EXPECT_EQ(c.width, 495) << i;
        EXPECT_EQ(c.height, 375) << i;
        EXPECT_EQ(c.left, (i % 8) * 495) << i;
        EXPECT_EQ(c.top, i < 8 ? 0 : 375) << i;
    }
    // Cell 8 stands directly below cell 0, cell 15 below cell 7.
    EXPECT_EQ(cells[8].left, cells[0].left);
    EXPECT_EQ(cells[8].top, cells[0].top + cells[0].height);
    EXPECT_EQ(cells[15].left, cells[7].left);
    EXPECT_EQ(cells[15].top, cells[7].top + cells[7].height);

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
    EXPECT_EQ(cells[0].left, 60);
    EXPECT_EQ(cells[5].left, 5 * 400 + 60);
    EXPECT_EQ(cells[5].top, 30);
    EXPECT_EQ(cells[13].left, 5 * 400 + 60);
    EXPECT_EQ(cells[13].top, 330);
}

TEST(ColorPicker, OuterWidthIsEightAndAQuarterCells) {
    EXPECT_EQ(PickerOuterWidthPixels(96), 272);  // 272.25
    EXPECT_EQ(PickerOuterWidthPixels(120), 340); // 340.3
    EXPECT_EQ(PickerOuterWidthPixels(144), 408); // 408.4
    EXPECT_EQ(PickerOuterWidthPixels(192), 545); // 544.5
    // The quarter cell leaves a few pixels for the frame beside the cells.
    for (int dpi : {96, 120, 144, 192})
        EXPECT_GE(PickerOuterWidthPixels(dpi) - WindowPixels(PickerCells()[7], dpi).right, 6) << dpi;
}

TEST(ColorPicker, ACellGivesItsPaletteColourAndEveryOtherEndGivesNoChoice) {
    EXPECT_EQ(PickedColorFor(0), 0);
    EXPECT_EQ(PickedColorFor(15), 16777215);
    for (int i = 0; i < kPickerCellCount; ++i)
        EXPECT_EQ(PickedColorFor(i), static_cast<std::int32_t>(kPalette[i])) << i;
    // Cancel, Esc, the caption's close button, Alt+F4.
    EXPECT_EQ(PickedColorFor(-1), -1);
    EXPECT_EQ(PickedColorFor(16), -1);
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
