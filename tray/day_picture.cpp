#include "tray/day_picture.h"

namespace mivra {

namespace {

constexpr std::uint8_t kShadeInk[4] = {kInkWhite, kInkLightGrey, kInkDarkGrey, kInkBlack};

class Canvas {
public:
    Canvas(std::vector<std::uint8_t>& px, int size) : px_(px), size_(size) {}
    void Set(int x, int y, std::uint8_t ink) { px_[y * size_ + x] = ink; }
    void Fill(int left, int top, int right, int bottom, std::uint8_t ink) {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                Set(x, y, ink);
    }
    // Paper stays as it is: a numeral covers the page only where it is inked.
    void Numeral(const DayGlyphs& g, const DayGlyph& glyph, int left) {
        int at = glyph.offset;
        for (int y = 0; y < g.digitHeight; ++y)
            for (int x = 0; x < glyph.width; ++x, ++at) {
                const int shade = g.ink[at / 4] >> (6 - 2 * (at % 4)) & 3;
                if (shade) Set(left + x, g.digitTop + y, kShadeInk[shade]);
            }
    }

private:
    std::vector<std::uint8_t>& px_;
    int size_;
};

} // namespace

std::uint32_t InkRgb(std::uint8_t ink) {
    switch (ink) {
    case kInkBlack:
        return 0x000000;
    case kInkDarkBlue:
        return 0x000080;
    case kInkLightGrey:
        return 0xC0C0C0;
    case kInkDarkGrey:
        return 0x808080;
    default:
        return 0xFFFFFF;
    }
}

std::vector<std::uint8_t> ComposeDayPicture(const DayGlyphs& g, int day) {
    if (day < 1 || day > 31) return {};
    std::vector<std::uint8_t> px(g.size * g.size, kInkDarkBlue);
    Canvas c(px, g.size);
    c.Fill(g.pageLeft, g.pageTop, g.pageRight, g.pageBottom, kInkWhite);
    c.Set(g.pageLeft, g.pageBottom, kInkDarkBlue);
    c.Fill(g.pageRight + 1, g.pageTop + 1, g.pageRight + 1, g.pageBottom, kInkBlack);
    c.Fill(g.pageLeft + 2, g.pageBottom + 1, g.pageRight, g.pageBottom + 1, kInkBlack);
    c.Set(g.pageRight, g.pageBottom, kInkBlack);
    for (int i = 0; i < g.markCount; ++i) {
        const int x = g.markFirst + i * g.markStep;
        c.Fill(x, 0, x, g.markBottom, kInkBlack);
    }

    // The number is centred between the box's edges; an odd pixel of air
    // goes to the right, where the shadow already darkens the page.
    const int box = g.boxRight - g.boxLeft + 1;
    if (day < 10) {
        const DayGlyph& one = g.alone[day];
        c.Numeral(g, one, g.boxLeft + (box - one.width) / 2);
    } else {
        const DayGlyph& tens = g.paired[day / 10];
        const DayGlyph& units = g.paired[day % 10];
        const int left = g.boxLeft + (box - tens.width - g.pairGap - units.width) / 2;
        c.Numeral(g, tens, left);
        c.Numeral(g, units, left + tens.width + g.pairGap);
    }
    return px;
}

} // namespace mivra
