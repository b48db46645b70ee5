// The day pictures at the notification area's small sizes. The 32 x 32
// pictures are the icon resources; a smaller one is composed when it is
// needed, from the page's geometry at that size and numerals drawn for it
// (tray/day_glyphs.cpp, written by tools/icongen.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace mivra {

// Indexes into the standard Windows 16-colour palette, as in the icons.
enum PictureInk : std::uint8_t {
    kInkBlack = 0,
    kInkDarkBlue = 4,
    kInkLightGrey = 7,
    kInkDarkGrey = 8,
    kInkWhite = 15,
};

// 0x00RRGGBB of a palette index the pictures use.
std::uint32_t InkRgb(std::uint8_t ink);

// One numeral, `width` columns by the set's numeral height. Its shades are
// packed four to a byte, first pixel in the high bits, row by row from the
// top: 0 paper, 1 light grey, 2 dark grey, 3 black.
struct DayGlyph {
    std::uint16_t offset = 0; // first pixel, counted in pixels into the set's ink
    std::uint8_t width = 0;
};

// Everything that makes the pictures of one size.
struct DayGlyphs {
    std::uint8_t size = 0; // pixels, square
    // The white page, inclusive. Its bottom-left pixel is the ground's, its
    // bottom-right one the shadow's; the shadow runs down the column right
    // of the page from one row below its top, and along the row below it
    // from two columns in.
    std::uint8_t pageLeft = 0, pageTop = 0, pageRight = 0, pageBottom = 0;
    // The binding: `markCount` black columns from row 0 to `markBottom`, the
    // first at `markFirst`, one every `markStep`.
    std::uint8_t markFirst = 0, markStep = 0, markCount = 0, markBottom = 0;
    // Rows of every numeral, and the columns a number is centred between.
    std::uint8_t digitTop = 0, digitHeight = 0, boxLeft = 0, boxRight = 0;
    // Columns of paper between the two numerals of a two-digit day.
    std::uint8_t pairGap = 0;
    std::array<DayGlyph, 10> alone{};  // a one-digit day
    std::array<DayGlyph, 10> paired{}; // either numeral of a two-digit day
    const std::uint8_t* ink = nullptr;
};

// The set drawn for a size, or null: 32 pixels and sizes between the drawn
// ones have none.
const DayGlyphs* DayGlyphsFor(int size);

// The picture of day 1 to 31: size x size palette indexes, row by row from
// the top. Empty for any other day.
std::vector<std::uint8_t> ComposeDayPicture(const DayGlyphs& glyphs, int day);

} // namespace mivra
