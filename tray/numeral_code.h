// How the tray's numerals are kept small: one binary arithmetic code for the
// shades of every drawn set, smallest first. Each numeral is coded in two
// passes, first which pixels are black, then the paper and greys around
// them, each decision with odds learnt from the decisions before it in the
// same neighbourhood: the pixels around it and the same place in the
// numeral one size smaller. Seven sizes take about a quarter of their two
// bits a pixel. tools/icongen.cpp encodes through the same model.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tray/day_picture.h"

namespace mivra {

// Arithmetic coding of one binary decision at a time.
class BitCoder {
public:
    // `zeroShare`: the odds, out of 4096, that the decision is 0 (1 to 4095).
    // `bit` is the decision when encoding; decoding ignores it. Returns the
    // decision.
    virtual bool Code(unsigned zeroShare, bool bit) = 0;

protected:
    ~BitCoder() = default;
};

// Runs the model over the numerals of `sets[0]` to `sets[count - 1]`, whose
// shades lie one set after another in `shades` (NumeralPixels each): an
// encoder finds them there, a decoder leaves them there (start it on paper).
void CodeNumerals(const DayGlyphs* sets, int count, std::uint8_t* shades, BitCoder& coder);

// Decodes a code; past its end it reads zeros, so a short code still gives
// a picture, not a read out of bounds.
class BitDecoder final : public BitCoder {
public:
    BitDecoder(const std::uint8_t* code, std::size_t size);
    bool Code(unsigned zeroShare, bool bit) override;

private:
    const std::uint8_t *at_, *end_;
    std::uint32_t range_ = 1, code_ = 0;
};

} // namespace mivra
