// The encoder of the tray's numerals: tray/numeral_code.h's model driving a
// range encoder, checked against the program's own decoder.
#pragma once

#include <cstdint>
#include <vector>

#include "tray/day_picture.h"

namespace icongen {

// The code of the sets' shades, one set after another as
// mivra::CodeNumerals takes them. Throws when the program's decoder would
// not give the same shades back.
std::vector<std::uint8_t> EncodeNumerals(const std::vector<mivra::DayGlyphs>& sets,
                                         std::vector<std::uint8_t> shades);

} // namespace icongen
