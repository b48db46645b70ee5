// The numerals of the tray's composed pictures (16, 20, 24, 28, 36, 40 and
// 48 pixels): fitted to each size from the same face as the 32-pixel icons,
// and written out as the program's source tray/day_glyphs.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tray/day_picture.h"
#include "typeface.h"

namespace icongen {

struct TrayGlyphSet {
    mivra::DayGlyphs layout;
    std::vector<std::uint8_t> shades; // NumeralPixels(layout), numeral after numeral
    // How each kind of numeral was drawn, for the source's comments.
    std::string aloneDrawn, pairedDrawn;
};

struct TrayGlyphs {
    std::vector<TrayGlyphSet> sets; // smallest first
    std::vector<std::uint8_t> code; // of all their shades
};

TrayGlyphs FitTrayGlyphs(Typeface& tf);

// The C++ source that carries the sets into the program.
std::string TrayGlyphSource(const TrayGlyphs& glyphs);

} // namespace icongen
