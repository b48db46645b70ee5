#include "tray/day_picture.h"

#include <memory>

#include "tray/numeral_code.h"

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
    // Paper stays as it is: a numeral covers the page only where it is
    // inked. Returns the column right of it.
    int Numeral(const DayGlyphs& g, const std::uint8_t* shades, int numeral, int left) {
        for (int before = 0; before < numeral; ++before)
            shades += NumeralWidth(g, before) * g.digitHeight;
        const int width = NumeralWidth(g, numeral);
        for (int y = 0; y < g.digitHeight; ++y)
            for (int x = 0; x < width; ++x, ++shades)
                if (*shades) Set(left + x, g.digitTop + y, kShadeInk[*shades & 3]);
        return left + width;
    }

private:
    std::vector<std::uint8_t>& px_;
    int size_;
};

} // namespace

std::uint32_t InkRgb(std::uint8_t ink) {
    if (ink == kInkDarkBlue) return 0x000080;
    // The rest are greys, red, green and blue alike.
    const std::uint32_t grey = ink == kInkBlack       ? 0x00
                               : ink == kInkDarkGrey  ? 0x80
                               : ink == kInkLightGrey ? 0xC0
                                                      : 0xFF;
    return grey * 0x010101;
}

int NumeralWidth(const DayGlyphs& g, int numeral) {
    return numeral < 10 ? g.alone[numeral] : g.paired[numeral - 10];
}

std::size_t NumeralPixels(const DayGlyphs& g) {
    std::size_t pixels = 0;
    for (int i = 0; i < kNumeralsPerSet; ++i)
        pixels += static_cast<std::size_t>(NumeralWidth(g, i)) * g.digitHeight;
    return pixels;
}

const DayGlyphs* DayGlyphsFor(int size, const GlyphLibrary& library) {
    for (int s = 0; s < library.count; ++s)
        if (library.sets[s].size == size) return &library.sets[s];
    return nullptr;
}

std::vector<std::uint8_t> DayPicture(int size, int day, const GlyphLibrary& library) {
    std::size_t pixels = 0;
    for (int s = 0; s < library.count && day >= 1 && day <= 31; ++s) {
        // Each set is coded after the smaller ones and learns from them.
        const DayGlyphs& g = library.sets[s];
        pixels += NumeralPixels(g);
        if (g.size != size) continue;
        const std::unique_ptr<std::uint8_t[]> shades(new std::uint8_t[pixels]());
        BitDecoder decoder(library.code, library.codeSize);
        CodeNumerals(library.sets, s + 1, shades.get(), decoder);
        return ComposeDayPicture(g, shades.get() + pixels - NumeralPixels(g), day);
    }
    return {};
}

std::vector<std::uint8_t> ComposeDayPicture(const DayGlyphs& g, const std::uint8_t* shades,
                                            int day) {
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
    const int tens = day < 10 ? 0 : 10 + day / 10, units = day < 10 ? day : 10 + day % 10;
    int width = NumeralWidth(g, units);
    if (tens) width += NumeralWidth(g, tens) + g.pairGap;
    int left = g.boxLeft + (g.boxRight - g.boxLeft + 1 - width) / 2;
    if (tens) left = c.Numeral(g, shades, tens, left) + g.pairGap;
    c.Numeral(g, shades, units, left);
    return px;
}

} // namespace mivra
