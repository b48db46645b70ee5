#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "app/calendar_layout.h"
#include "base/placement.h"

namespace mivra {
namespace {

// The button row, left to right.
constexpr LabelId kButtons[] = {LabelId::lblHide,  LabelId::lblYearPrev,  LabelId::lblMonthPrev,
                                LabelId::lblToday, LabelId::lblMonthNext, LabelId::lblYearNext,
                                LabelId::lblAbout};

// The label that takes a pixel at a DPI, if any.
std::optional<LabelId> LabelAt(int x, int y, int dpi) {
    LabelId id;
    return LabelAtPixel(x, y, dpi, id) ? std::optional(id) : std::nullopt;
}

TEST(LayoutTest, GridWeekdayAndButtonRowsFollowTheColumnPitch) {
    for (int i = 0; i < 42; ++i) {
        const TwipRect r = Design(Day(i)).rect;
        EXPECT_EQ(std::tuple(r.left, r.top, r.width, r.height),
                  std::tuple(24 + 360 * (i % 7), 552 + 360 * (i / 7), 372, 372))
            << i;
    }
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(Design(Dow(c)).rect.left, 24 + 360 * c);
        const TwipRect b = Design(kButtons[c]).rect;
        EXPECT_EQ(std::pair(b.left, b.top), std::pair(24 + 360 * c, 2736)) << c;
    }
    EXPECT_EQ(Design(Dow(0)).caption, L"Sun");
    EXPECT_EQ(Design(Dow(6)).caption, L"Sat");
    EXPECT_EQ(Design(LabelId::lblToday).font.face, L"Wingdings");
    EXPECT_TRUE(Design(LabelId::lblHide).font.symbol);
    EXPECT_EQ(Design(LabelId::lblHide).caption, L"\xCA");
}

TEST(LayoutTest, OverlapsHitTheFrontLabel) {
    // At 1440 dpi a pixel is a twip: the design rectangles as they stand.
    // The quit square lies over the title's right end.
    EXPECT_EQ(LabelAt(2400, 100, 1440), LabelId::lblQuit);
    EXPECT_EQ(LabelAt(2300, 100, 1440), LabelId::lblMonth);
    // Neighbouring cells share 12 twips; the higher index is in front.
    EXPECT_EQ(LabelAt(24 + 360 + 5, 600, 1440), Day(1));
    EXPECT_EQ(LabelAt(24 + 360 + 15, 600, 1440), Day(1));
    EXPECT_EQ(LabelAt(24 + 355, 600, 1440), Day(0));
    // The weekday row lies over the top day row and the title.
    EXPECT_EQ(LabelAt(100, 555, 1440), Dow(0));
    EXPECT_EQ(LabelAt(100, 365, 1440), Dow(0));
    // The black frame and the gap above the buttons take no hits.
    EXPECT_EQ(LabelAt(10, 10, 1440), std::nullopt);
    EXPECT_EQ(LabelAt(100, 2730, 1440), std::nullopt);
    // In pixels at 96 dpi, the same answers.
    EXPECT_EQ(LabelAt(165, 5, 96), LabelId::lblQuit);
    EXPECT_EQ(LabelAt(0, 0, 96), std::nullopt);
}

// Bordered neighbours that overlap by one or two pixels show one line: the
// front one's border lies on the other's or covers it.
TEST(LayoutTest, PaintedNeighboursShowOneLineAndTheGapKeepsOneAtCommonScales) {
    for (int dpi : {96, 120, 144, 192}) {
        auto px = [dpi](LabelId id) { return PaintedPixels(Design(id).rect, dpi); };
        auto oneLine = [](int backEnd, int frontStart) {
            return backEnd - frontStart == 1 || backEnd - frontStart == 2;
        };
        // Each cell beside its right neighbour and above the one below it.
        for (int i = 0; i < 42; ++i) {
            EXPECT_TRUE(i % 7 == 6 || oneLine(px(Day(i)).right, px(Day(i + 1)).left))
                << i << "@" << dpi;
            EXPECT_TRUE(i >= 35 || oneLine(px(Day(i)).bottom, px(Day(i + 7)).top))
                << i << "@" << dpi;
        }
        for (int c = 0; c < 6; ++c)
            EXPECT_TRUE(oneLine(px(kButtons[c]).right, px(kButtons[c + 1]).left))
                << c << "@" << dpi;
        EXPECT_GE(px(LabelId::lblHide).top - px(Day(35)).bottom, 1) << dpi;
    }
}

TEST(PlacementTest, BottomRightAndCentredAtCommonScalesAndOnScreenByAQuarterOnOneMonitor) {
    EXPECT_EQ(BottomRightPlacement(1024, 768, 2580, 3084, 96), (PixelPoint{842, 512}));
    // 12 twips to the pixel: 12630 and 7686 twips, halves rounded up.
    EXPECT_EQ(BottomRightPlacement(1280, 960, 2580, 3084, 120), (PixelPoint{1053, 641}));
    EXPECT_EQ(CentredPlacement(1024, 768, 3204, 4956, 96), (PixelPoint{405, 219}));
    EXPECT_EQ(WindowPixels({0, 0, 2580, 3084}, 96), (PixelRect{0, 0, 172, 206}));
    EXPECT_EQ(WindowPixels({0, 0, 2580, 3084}, 144), (PixelRect{0, 0, 258, 308}));
    // Left of and above the origin, windows round halves away from zero as
    // MulDiv does and painting rounds down; with no DPI there is no place.
    EXPECT_EQ(WindowPixels({-8, -7, 16, 14}, 96), (PixelRect{-1, 0, 1, 0}));
    EXPECT_EQ(PaintedPixels({-8, -7, 16, 14}, 96), (PixelRect{-1, -1, 0, 0}));
    EXPECT_EQ(BottomRightPlacement(1024, 768, 2580, 3084, 0), PixelPoint{});
    EXPECT_EQ(CentredPlacement(1024, 768, 3204, 4956, -1), PixelPoint{});

    // On screen means a quarter of the window on one monitor.
    const PixelRect window{0, 0, 100, 200};
    const auto shifted = [&](int dx, int dy) {
        return PixelRect{window.left + dx, window.top + dy, window.right + dx, window.bottom + dy};
    };
    const PixelRect one[] = {{0, 0, 1024, 728}};
    // Half by half is a quarter; at 1020 a sliver shows.
    for (auto [dx, dy] : {std::pair(900, 500), {-50, -100}})
        EXPECT_TRUE(IsOnScreen(shifted(dx, dy), one)) << dx << "," << dy;
    for (auto [dx, dy] : {std::pair(-51, -100), {1020, 0}, {-5000, 0}})
        EXPECT_FALSE(IsOnScreen(shifted(dx, dy), one)) << dx << "," << dy;
    EXPECT_FALSE(IsOnScreen(window, {}));
    EXPECT_FALSE(IsOnScreen({0, 0, 100, 0}, one)) << "no height";
    // Straddling two monitors, it counts on the one that holds enough.
    const PixelRect two[] = {{0, 0, 1024, 728}, {1024, 0, 2048, 728}};
    EXPECT_TRUE(IsOnScreen(shifted(1000, 0), two));
    EXPECT_FALSE(IsOnScreen(shifted(3000, 0), two));
}

} // namespace
} // namespace mivra
