// A font face for drawing figures: FreeType with one face open, figures
// scaled by their height in pixels and, independently, by a width factor.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace icongen {

// Coverage of one rendered figure: 0 = paper, 255 = fully inked. `left` and
// `top` place the bitmap's top-left pixel relative to the origin on the
// baseline (x to the right, y up, as FreeType counts).
struct Rendered {
    int left = 0, top = 0, width = 0, rows = 0;
    std::vector<std::uint8_t> coverage;
    std::uint8_t At(int col, int row) const { return coverage[row * width + col]; }
};

// Coverage (0 to 1) to the four shades the palette offers for ink on white:
// 3 black, 2 dark grey (half), 1 light grey (a quarter), 0 paper.
inline int ShadeLevel(float coverage) {
    if (coverage >= 0.70f) return 3;
    if (coverage >= 0.40f) return 2;
    if (coverage >= 0.14f) return 1;
    return 0;
}

class Typeface {
public:
    explicit Typeface(const std::string& path);
    ~Typeface();
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    // Pixels per em for figures `height` pixels tall.
    double PpemForHeight(double height) const { return height * unitsPerEm_ / figureUnits_; }

    // Ink extent [left, right) of an unhinted figure with its origin at x = 0.
    std::pair<double, double> InkSpan(char digit, double ppem, double widthFactor);

    // A figure moved right by `shift` 64ths of a pixel, loaded with FreeType's
    // `loadFlags` (hinting), with anti-aliased coverage.
    Rendered Render(char digit, double ppem, double widthFactor, long shift,
                    std::int32_t loadFlags = 0);

private:
    void Load(char digit, double ppem, double widthFactor, std::int32_t loadFlags);

    FT_Library lib_ = nullptr;
    FT_Face face_ = nullptr;
    int unitsPerEm_ = 0;
    double figureUnits_ = 0;
};

} // namespace icongen
