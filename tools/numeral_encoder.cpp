#include "numeral_encoder.h"

#include <stdexcept>

#include "tray/numeral_code.h"

namespace icongen {

namespace {

// The carry-propagating range encoder that matches mivra::BitDecoder.
class BitEncoder final : public mivra::BitCoder {
public:
    bool Code(unsigned zeroShare, bool bit) override {
        const std::uint32_t bound = (range_ >> 12) * zeroShare;
        if (bit) {
            low_ += bound;
            range_ -= bound;
        } else {
            range_ = bound;
        }
        while (range_ < 1u << 24) {
            range_ <<= 8;
            ShiftLow();
        }
        return bit;
    }

    std::vector<std::uint8_t> Finish() {
        for (int i = 0; i < 5; ++i)
            ShiftLow();
        // Both sides start on a range of 2^24, so the first byte out (the
        // one a carry could reach) and the second (the range's top byte)
        // are always 0; the decoder starts on the third. Past the end it
        // reads zeros.
        if (out_.size() < 2 || out_[0] || out_[1]) throw std::logic_error("the code starts high");
        out_.erase(out_.begin(), out_.begin() + 2);
        while (!out_.empty() && out_.back() == 0)
            out_.pop_back();
        return out_;
    }

private:
    // Moves the top byte of `low_` out once no carry can change it.
    void ShiftLow() {
        if (low_ < 0xFF000000u || low_ >> 32) {
            const auto carry = static_cast<std::uint8_t>(low_ >> 32);
            std::uint8_t held = cache_;
            do {
                out_.push_back(static_cast<std::uint8_t>(held + carry));
                held = 0xFF;
            } while (--pending_);
            cache_ = static_cast<std::uint8_t>(low_ >> 24);
        }
        ++pending_;
        low_ = (low_ & 0x00FFFFFF) << 8;
    }

    std::uint64_t low_ = 0;
    std::uint32_t range_ = 1u << 24;
    std::uint8_t cache_ = 0;
    std::size_t pending_ = 1;
    std::vector<std::uint8_t> out_;
};

} // namespace

std::vector<std::uint8_t> EncodeNumerals(const std::vector<mivra::DayGlyphs>& sets,
                                         std::vector<std::uint8_t> shades) {
    const std::vector<std::uint8_t> drawn = shades;
    BitEncoder encoder;
    mivra::CodeNumerals(sets.data(), static_cast<int>(sets.size()), shades.data(), encoder);
    if (shades != drawn) throw std::logic_error("the model changed the shades it coded");
    std::vector<std::uint8_t> code = encoder.Finish();

    std::vector<std::uint8_t> decoded(drawn.size());
    mivra::BitDecoder decoder(code.data(), code.size());
    mivra::CodeNumerals(sets.data(), static_cast<int>(sets.size()), decoded.data(), decoder);
    if (decoded != drawn) throw std::logic_error("the program would decode other numerals");
    return code;
}

} // namespace icongen
