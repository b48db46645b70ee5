#include "tray/numeral_code.h"

#include <memory>

namespace mivra {

namespace {

constexpr int kBlack = 3;

// Where the pixels are whose blackness tells the most about a pixel: in the
// black pass, pixels before it; in the shade pass, all round it. Each is
// 16 * (dy + 2) + dx + 2.
constexpr std::uint8_t kNeighbours[] = {0x21, 0x11, 0x12, 0x13, 0x02, 0x01,             // before
                                        0x21, 0x23, 0x12, 0x32, 0x11, 0x13, 0x31, 0x33, // around
                                        0x20, 0x24, 0x02, 0x42};
constexpr int kBefore = 6, kAround = 12;

// Black pass: the pixels before, what the numeral one size smaller has at
// the same place (0 where there is none, else its shade + 1), and whether
// it is black one row lower.
constexpr int kBlackContexts = (1 << kBefore) * 5 * 2;
// Shade pass: the black pixels around, the shade above, and two decisions:
// paper or grey, then which grey.
constexpr int kContexts = kBlackContexts + (1 << kAround) * 4 * 2;

// How often each decision went either way in one context.
struct Odds {
    std::uint16_t zeros, ones;
};

struct Numeral {
    std::uint8_t* px;
    int width, height;
    int At(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0 : px[y * width + x];
    }
};

bool Decide(Odds& o, BitCoder& coder, bool bit) {
    // Each way counts half a decision before any is seen.
    const unsigned zeroShare = ((2u * o.zeros + 1) << 12) / (2u * (o.zeros + o.ones) + 2);
    bit = coder.Code(zeroShare ? zeroShare : 1, bit);
    // Odds that many decisions have shown need no more.
    if (o.zeros + o.ones < 0xFFFF) ++(bit ? o.ones : o.zeros);
    return bit;
}

} // namespace

void CodeNumerals(const DayGlyphs* sets, int count, std::uint8_t* shades, BitCoder& coder) {
    const std::unique_ptr<Odds[]> odds(new Odds[kContexts]{});
    std::uint8_t* before = nullptr; // the numerals one size smaller
    for (int s = 0; s < count; ++s) {
        Numeral smaller{before, 0, 0};
        before = shades;
        for (int i = 0; i < kNumeralsPerSet; ++i) {
            const Numeral n{shades, NumeralWidth(sets[s], i), sets[s].digitHeight};
            if (smaller.px) {
                smaller.px += smaller.width * smaller.height;
                smaller.width = NumeralWidth(sets[s - 1], i);
                smaller.height = sets[s - 1].digitHeight;
            }
            // First which pixels are black, then the others.
            for (int pass = 0; pass < 2; ++pass)
                for (int y = 0; y < n.height; ++y)
                    for (int x = 0; x < n.width; ++x) {
                        std::uint8_t& px = n.px[y * n.width + x];
                        if (pass && px == kBlack) continue;
                        int context = 0;
                        for (int k = pass * kBefore; k < kBefore + pass * kAround; ++k)
                            context = context * 2 + (n.At(x + (kNeighbours[k] & 15) - 2,
                                                          y + (kNeighbours[k] >> 4) - 2) == kBlack);
                        if (pass) {
                            Odds* shade =
                                &odds[kBlackContexts + 2 * (context * 4 + n.At(x, y - 1))];
                            px = Decide(shade[0], coder, px != 0)
                                     ? 1 + Decide(shade[1], coder, px == 2)
                                     : 0;
                            continue;
                        }
                        if (smaller.px) {
                            // Its pixel over the same part of the width and height, and
                            // the one below that (none below the last row).
                            const int sx = (2 * x + 1) * smaller.width / (2 * n.width);
                            const int sy = (2 * y + 1) * smaller.height / (2 * n.height);
                            const int below = (2 * y + 3) * smaller.height / (2 * n.height);
                            context += (1 << kBefore) * (1 + smaller.At(sx, sy) +
                                                         5 * (smaller.At(sx, below) == kBlack));
                        }
                        if (Decide(odds[context], coder, px == kBlack)) px = kBlack;
                    }
            shades += n.width * n.height;
        }
    }
}

BitDecoder::BitDecoder(const std::uint8_t* code, std::size_t size) : at_(code), end_(code + size) {}

bool BitDecoder::Code(unsigned zeroShare, bool) {
    // Bytes come in before a decision, so the first ones start the code.
    while (range_ < 1u << 24) {
        range_ <<= 8;
        code_ = code_ << 8 | (at_ < end_ ? *at_++ : 0);
    }
    const std::uint32_t bound = (range_ >> 12) * zeroShare;
    const bool one = code_ >= bound;
    if (one) {
        code_ -= bound;
        range_ -= bound;
    } else {
        range_ = bound;
    }
    return one;
}

} // namespace mivra
