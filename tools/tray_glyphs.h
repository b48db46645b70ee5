// The numerals of the tray's small pictures (16, 20, 24 and 28 pixels):
// fitted to each size from the same face as the 32-pixel icons, and written
// out as the program's source tray/day_glyphs.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tray/day_picture.h"
#include "typeface.h"

namespace icongen {

struct TrayGlyphSet {
    mivra::DayGlyphs layout; // without its ink
    std::vector<std::uint8_t> ink;
    // How each kind of numeral was drawn, for the source's comments.
    std::string aloneDrawn, pairedDrawn;

    mivra::DayGlyphs Glyphs() const {
        mivra::DayGlyphs g = layout;
        g.ink = ink.data();
        return g;
    }
};

std::vector<TrayGlyphSet> FitTrayGlyphs(Typeface& tf);

// The C++ source that carries the sets into the program.
std::string TrayGlyphSource(const std::vector<TrayGlyphSet>& sets);

} // namespace icongen
