// The day pictures at the notification area's sizes other than 32 x 32,
// which are the icon resources: a picture is composed when it is needed,
// from the page's geometry at that size and numerals drawn for it
// (tray/day_glyphs.cpp, written by tools/icongen.cpp).
#pragma once

#include <array>
#include <cstddef>
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

// Everything that makes the pictures of one size but the numerals' shades.
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
    // Widths of the numerals of a one-digit day, and of either numeral of a
    // two-digit one.
    std::array<std::uint8_t, 10> alone{}, paired{};
};

// The numerals of a set are twenty: 0 to 9 alone, then 0 to 9 paired. Their
// shades lie one after another, each numeral row by row from the top, a
// byte a pixel: 0 paper, 1 light grey, 2 dark grey, 3 black.
inline constexpr int kNumeralsPerSet = 20;
int NumeralWidth(const DayGlyphs& g, int numeral);
std::size_t NumeralPixels(const DayGlyphs& g); // of all twenty

// Drawn sets, smallest first, and the arithmetic code that holds all their
// shades (tray/numeral_code.h).
struct GlyphLibrary {
    const DayGlyphs* sets = nullptr;
    int count = 0;
    const std::uint8_t* code = nullptr;
    std::size_t codeSize = 0;
};
// The program's sets (tray/day_glyphs.cpp).
extern const GlyphLibrary kDayGlyphs;

// The set drawn for a size, or null: 32 pixels and sizes between the drawn
// ones have none.
const DayGlyphs* DayGlyphsFor(int size, const GlyphLibrary& library = kDayGlyphs);

// The picture of day 1 to 31 from a set and its numerals' shades: size x
// size palette indexes, row by row from the top. Empty for any other day.
std::vector<std::uint8_t> ComposeDayPicture(const DayGlyphs& glyphs, const std::uint8_t* shades,
                                            int day);

// The picture of a day at a drawn size; empty for another size or day.
std::vector<std::uint8_t> DayPicture(int size, int day, const GlyphLibrary& library = kDayGlyphs);

} // namespace mivra
