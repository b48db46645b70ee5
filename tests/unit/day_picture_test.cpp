// The tray's composed day pictures: the sizes they are drawn for, the page
// around the number, and numerals that stay whole at every size.
#include "tray/day_picture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/support/day_pictures.h"
#include "tray/tray_icon.h"

namespace mivra {
namespace {

using test::Area;
using test::InkShapes;
using test::Picture;

constexpr int kDrawnSizes[] = {16, 20, 24, 28, 36, 40, 48};

Picture Compose(const DayGlyphs& g, int day) {
    return {g.size, DayPicture(g.size, day)};
}

// Where the numerals may stand: inside the page, below the binding.
Area PageInside(const DayGlyphs& g) {
    return {g.pageLeft + 1, g.markBottom + 1, g.pageRight - 1, g.pageBottom - 1};
}

TEST(TrayPictureSize, FollowsTheTaskbarDpiAndIsDrawnForEachSize) {
    const std::pair<int, int> sizes[] = {{96, 16},  {120, 20}, {144, 24}, {168, 28},
                                         {192, 32}, {216, 36}, {240, 40}, {288, 48}};
    for (auto [dpi, size] : sizes) {
        EXPECT_EQ(TrayIconSize(dpi), size) << dpi << " dpi";
        EXPECT_EQ(DayPictureSize(size), size) << dpi << " dpi";
    }
    EXPECT_EQ(TrayIconSize(0), 16);
    for (int size : kDrawnSizes) {
        ASSERT_NE(DayGlyphsFor(size), nullptr) << size;
        EXPECT_EQ(DayGlyphsFor(size)->size, size);
    }
    // 32 pixels are the icon resources, not composed.
    for (int size : {0, 15, 18, 32, 44, 64})
        EXPECT_EQ(DayGlyphsFor(size), nullptr) << size;
    // Between the drawn sizes, the icons' among them, the next smaller one,
    // which the system scales up a little; so too above them all.
    constexpr int kBetween[][2] = {{18, 16}, {31, 28}, {34, 32}, {40, 40},
                                   {44, 40}, {64, 48}, {12, 16}};
    for (const auto& [tray, picture] : kBetween)
        EXPECT_EQ(DayPictureSize(tray), picture) << tray;
    // The five inks as the shell is given them.
    EXPECT_EQ((std::vector{InkRgb(kInkBlack), InkRgb(kInkDarkBlue), InkRgb(kInkDarkGrey),
                           InkRgb(kInkLightGrey), InkRgb(kInkWhite)}),
              (std::vector<std::uint32_t>{0, 0x80, 0x808080, 0xC0C0C0, 0xFFFFFF}));
}

TEST(DayPictures, EachSizeShowsThePageOnItsGroundWithShadowAndBinding) {
    for (int size : kDrawnSizes) {
        SCOPED_TRACE(size);
        const DayGlyphs& g = *DayGlyphsFor(size);
        const Picture first = Compose(g, 1);
        ASSERT_EQ(first.px.size(), static_cast<std::size_t>(size * size));
        // Ground at the left, right and bottom edges.
        for (int i = 0; i < size; ++i) {
            EXPECT_EQ(first.At(0, i), kInkDarkBlue) << "left edge, row " << i;
            EXPECT_EQ(first.At(size - 1, i), kInkDarkBlue) << "right edge, row " << i;
            EXPECT_EQ(first.At(i, size - 1), kInkDarkBlue) << "bottom edge, column " << i;
        }
        // The page, with the turned corners of the big icons, and its shadow.
        EXPECT_EQ(first.At(g.pageLeft, g.pageTop), kInkWhite);
        EXPECT_EQ(first.At(g.pageRight, g.pageTop), kInkWhite);
        EXPECT_EQ(first.At(g.pageLeft, g.pageBottom), kInkDarkBlue);
        EXPECT_EQ(first.At(g.pageRight, g.pageBottom), kInkBlack);
        EXPECT_EQ(first.At(g.pageRight + 1, g.pageTop), kInkDarkBlue);
        for (int y = g.pageTop + 1; y <= g.pageBottom; ++y)
            EXPECT_EQ(first.At(g.pageRight + 1, y), kInkBlack) << "shadow, row " << y;
        for (int x = g.pageLeft + 2; x <= g.pageRight; ++x)
            EXPECT_EQ(first.At(x, g.pageBottom + 1), kInkBlack) << "shadow, column " << x;
        EXPECT_EQ(first.At(g.pageLeft + 1, g.pageBottom + 1), kInkDarkBlue);
        // The binding: marks one pixel wide with air between them, over the
        // page's top edge, white page below them.
        int marks = 0;
        for (int x = 0; x < size; ++x) {
            if (first.At(x, 0) != kInkBlack) continue;
            ++marks;
            EXPECT_NE(first.At(x + 1, 0), kInkBlack) << "marks run together at " << x;
            EXPECT_GE(g.markBottom, g.pageTop);
            EXPECT_EQ(first.At(x, g.markBottom), kInkBlack);
            EXPECT_EQ(first.At(x, g.markBottom + 1), kInkWhite);
        }
        EXPECT_GE(marks, 5);
        EXPECT_EQ(marks, g.markCount);

        // Everything but the number is the same every day, in five colours.
        const Area inside = PageInside(g);
        for (int day = 1; day <= 31; ++day) {
            const Picture p = Compose(g, day);
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const int c = p.At(x, y);
                    ASSERT_TRUE(c == kInkBlack || c == kInkDarkBlue || c == kInkLightGrey ||
                                c == kInkDarkGrey || c == kInkWhite)
                        << "colour " << c << " on day " << day;
                    ASSERT_TRUE(inside.Holds(x, y) || c == first.At(x, y))
                        << "day " << day << " differs at " << x << "," << y;
                }
        }
    }
}

TEST(DayPictures, EveryNumeralStaysWholeInsideThePageAsTallAsTheSizeAllows) {
    for (int size : kDrawnSizes) {
        SCOPED_TRACE(size);
        const DayGlyphs& g = *DayGlyphsFor(size);
        const Area inside = PageInside(g);
        std::set<int> tops, bottoms;
        for (int day = 1; day <= 31; ++day) {
            SCOPED_TRACE(day);
            const auto small = InkShapes(Compose(g, day), inside);
            const auto big = InkShapes(test::IcoPicture(test::DayIconBytes(day)), {4, 5, 26, 27});
            const std::string digits = std::to_string(day);
            // One unbroken shape per numeral, none running into another, as
            // in the committed 32 x 32 icons, whose numerals they must keep...
            ASSERT_EQ(small.size(), digits.size());
            ASSERT_EQ(big.size(), digits.size());
            for (std::size_t i = 0; i < digits.size(); ++i) {
                // ...that closes in what the 32-pixel numeral closes in:
                // no stroke lost, no counter filled.
                EXPECT_EQ(small[i].holes, big[i].holes) << "numeral " << digits[i];
                // Clear of the page's edges.
                EXPECT_GT(small[i].left, g.pageLeft);
                EXPECT_LT(small[i].right, g.pageRight);
                EXPECT_GT(small[i].top, g.markBottom + 1);
                EXPECT_LT(small[i].bottom, g.pageBottom);
                tops.insert(small[i].top);
                bottoms.insert(small[i].bottom);
            }
            // The number sits in the middle of the page.
            const int left = small.front().left - g.pageLeft;
            const int right = g.pageRight - small.back().right;
            EXPECT_LE(std::abs(left - right), 2) << left << " columns left, " << right << " right";
        }
        // All numerals share one height, five eighths of the picture or more.
        ASSERT_EQ(tops.size(), 1u);
        ASSERT_EQ(bottoms.size(), 1u);
        EXPECT_GE(*bottoms.begin() - *tops.begin() + 1, size * 5 / 8);
    }
}

TEST(DayPictures, EveryDayHasItsOwnPictureAndOtherDaysNone) {
    for (int size : kDrawnSizes) {
        std::set<std::vector<std::uint8_t>> seen;
        for (int day = 1; day <= 31; ++day)
            EXPECT_TRUE(seen.insert(DayPicture(size, day)).second)
                << "size " << size << ", day " << day;
        for (int day : {0, 32, -1}) {
            EXPECT_TRUE(DayPicture(size, day).empty()) << "size " << size << ", day " << day;
            EXPECT_TRUE(ComposeDayPicture(*DayGlyphsFor(size), nullptr, day).empty());
        }
    }
    for (int size : {0, 32, 44})
        EXPECT_TRUE(DayPicture(size, 1).empty()) << "size " << size;
}

TEST(DayPictures, ACutShortCodeStillGivesPicturesAndIsReadNoFurther) {
    // On the heap, so that a read past its end is caught.
    const std::vector<std::uint8_t> half(kDayGlyphs.code,
                                         kDayGlyphs.code + kDayGlyphs.codeSize / 2);
    const GlyphLibrary cut{kDayGlyphs.sets, kDayGlyphs.count, half.data(), half.size()};
    for (int size : kDrawnSizes) {
        SCOPED_TRACE(size);
        const DayGlyphs& g = *DayGlyphsFor(size);
        const Picture whole = Compose(g, 28);
        const Picture p{size, DayPicture(size, 28, cut)};
        ASSERT_EQ(p.px.size(), whole.px.size());
        // The page is drawn as ever; only the numerals may suffer.
        const Area inside = PageInside(g);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                ASSERT_TRUE(inside.Holds(x, y) || p.At(x, y) == whole.At(x, y)) << x << "," << y;
    }
}

} // namespace
} // namespace mivra
