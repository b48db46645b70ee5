#include "tray_glyphs.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>

#include "numeral_encoder.h"

namespace icongen {

namespace {

// The page at each composed size, drawn after the 32-pixel one: a white page
// with a one-pixel shadow on a dark blue ground, the binding marks as far
// apart as the page allows with a pixel of air between them, the numerals
// as tall as the page leaves room for under the binding, and a lone
// numeral at most `aloneWidth` wide.
struct Page {
    mivra::DayGlyphs layout;
    int aloneWidth;
};

// clang-format off
constexpr Page kPages[] = {
    {{.size = 16, .pageLeft = 1, .pageTop = 1, .pageRight = 13, .pageBottom = 13,
      .markFirst = 2, .markStep = 2, .markCount = 6, .markBottom = 1,
      .digitTop = 3, .digitHeight = 10, .boxLeft = 2, .boxRight = 12, .pairGap = 1}, 7},
    {{.size = 20, .pageLeft = 1, .pageTop = 1, .pageRight = 17, .pageBottom = 17,
      .markFirst = 3, .markStep = 3, .markCount = 5, .markBottom = 2,
      .digitTop = 4, .digitHeight = 13, .boxLeft = 2, .boxRight = 16, .pairGap = 1}, 9},
    {{.size = 24, .pageLeft = 1, .pageTop = 1, .pageRight = 21, .pageBottom = 21,
      .markFirst = 2, .markStep = 3, .markCount = 7, .markBottom = 2,
      .digitTop = 4, .digitHeight = 16, .boxLeft = 2, .boxRight = 20, .pairGap = 1}, 11},
    {{.size = 28, .pageLeft = 2, .pageTop = 2, .pageRight = 25, .pageBottom = 25,
      .markFirst = 3, .markStep = 3, .markCount = 8, .markBottom = 3,
      .digitTop = 5, .digitHeight = 19, .boxLeft = 3, .boxRight = 24, .pairGap = 2}, 13},
    {{.size = 36, .pageLeft = 2, .pageTop = 2, .pageRight = 32, .pageBottom = 32,
      .markFirst = 3, .markStep = 3, .markCount = 10, .markBottom = 3,
      .digitTop = 6, .digitHeight = 25, .boxLeft = 4, .boxRight = 30, .pairGap = 2}, 15},
    {{.size = 40, .pageLeft = 2, .pageTop = 2, .pageRight = 36, .pageBottom = 36,
      .markFirst = 3, .markStep = 4, .markCount = 9, .markBottom = 4,
      .digitTop = 7, .digitHeight = 28, .boxLeft = 4, .boxRight = 34, .pairGap = 2}, 17},
    {{.size = 48, .pageLeft = 3, .pageTop = 3, .pageRight = 43, .pageBottom = 43,
      .markFirst = 5, .markStep = 4, .markCount = 10, .markBottom = 5,
      .digitTop = 9, .digitHeight = 33, .boxLeft = 5, .boxRight = 41, .pairGap = 3}, 21},
};
// clang-format on

// What the 32-pixel numerals enclose: the holes each must keep.
constexpr std::array<int, 10> kHoles = {1, 0, 0, 0, 1, 0, 1, 0, 2, 1};

// Shades of one numeral: 0 paper, 1 light grey, 2 dark grey, 3 black.
struct Shape {
    int width = 0, height = 0;
    std::vector<std::uint8_t> shade;
    int At(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0 : shade[y * width + x];
    }
    int Greys() const {
        return static_cast<int>(std::count_if(shade.begin(), shade.end(),
                                              [](std::uint8_t s) { return s == 1 || s == 2; }));
    }
};

// Connected regions of the pixels where `in` holds, over the shape and a
// one-pixel border around it; 8-connected with `diagonal`, else 4-connected.
int Regions(const Shape& s, const std::function<bool(int, int)>& in, bool diagonal) {
    const int w = s.width + 2, h = s.height + 2;
    std::vector<bool> seen(static_cast<std::size_t>(w) * h);
    int regions = 0;
    for (int start = 0; start < w * h; ++start) {
        if (seen[start] || !in(start % w - 1, start / w - 1)) continue;
        ++regions;
        std::vector<int> todo{start};
        seen[start] = true;
        while (!todo.empty()) {
            const int p = todo.back();
            todo.pop_back();
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!diagonal && dx != 0 && dy != 0) continue;
                    const int x = p % w + dx, y = p / w + dy;
                    if (x < 0 || y < 0 || x >= w || y >= h || seen[y * w + x]) continue;
                    if (!in(x - 1, y - 1)) continue;
                    seen[y * w + x] = true;
                    todo.push_back(y * w + x);
                }
        }
    }
    return regions;
}

// Whole: the ink at least `level` dark is one shape and encloses exactly the
// holes of the 32-pixel numeral.
bool Whole(const Shape& s, int digit, int level) {
    const auto ink = [&](int x, int y) { return s.At(x, y) >= level; };
    const auto paper = [&](int x, int y) { return s.At(x, y) < level; };
    // The border is paper all round, so everything outside is one region.
    return Regions(s, ink, true) == 1 && Regions(s, paper, false) - 1 == kHoles[digit];
}

// A rendered numeral on `height` rows, its top row at the top of the ink and
// its bottom row on the baseline; columns cut to the ink. None when the ink
// does not fill exactly those rows.
std::optional<Shape> OnRows(const Rendered& r, int height) {
    int first = r.width, last = -1;
    std::vector<std::uint8_t> levels(r.coverage.size());
    for (int row = 0; row < r.rows; ++row)
        for (int col = 0; col < r.width; ++col) {
            const int level = ShadeLevel(r.At(col, row) / 255.0f);
            levels[row * r.width + col] = static_cast<std::uint8_t>(level);
            if (!level) continue;
            const int y = height - r.top + row;
            if (y < 0 || y >= height) return std::nullopt;
            first = std::min(first, col);
            last = std::max(last, col);
        }
    if (last < first) return std::nullopt;
    Shape s;
    s.width = last - first + 1;
    s.height = height;
    s.shade.assign(static_cast<std::size_t>(s.width) * height, 0);
    for (int row = 0; row < r.rows; ++row)
        for (int col = first; col <= last; ++col)
            if (const int level = levels[row * r.width + col])
                s.shade[(height - r.top + row) * s.width + col - first] =
                    static_cast<std::uint8_t>(level);
    const auto rowInked = [&](int y) {
        for (int x = 0; x < s.width; ++x)
            if (s.At(x, y)) return true;
        return false;
    };
    if (!rowInked(0) || !rowInked(height - 1)) return std::nullopt;
    return s;
}

// How FreeType is asked to fit outlines to the pixel grid.
struct Hinting {
    std::int32_t flags;
    const char* name;
};
constexpr Hinting kHintings[] = {
    {FT_LOAD_FORCE_AUTOHINT, "FreeType's auto-hinter"},
    {FT_LOAD_TARGET_LIGHT, "FreeType's light auto-hinting"},
    {FT_LOAD_DEFAULT, "the font's own hinting"},
    {FT_LOAD_NO_HINTING, "no hinting"},
};

struct Numerals {
    std::array<Shape, 10> shapes;
    const Hinting* hinting = nullptr;
    double ppem = 0, widthFactor = 0;
    int greys = 0;
};

// The crispest whole drawing of a numeral at one size and width, among
// sub-pixel shifts (a stem on whole pixels is black, not a smear of greys).
std::optional<Shape> Crispest(Typeface& tf, char digit, double ppem, double widthFactor,
                              const Hinting& hinting, int height, int maxWidth) {
    std::optional<Shape> best;
    for (long shift = 0; shift < 64; shift += 8) {
        const auto s = OnRows(tf.Render(digit, ppem, widthFactor, shift, hinting.flags), height);
        if (!s || s->width > maxWidth || !Whole(*s, digit - '0', 1) || !Whole(*s, digit - '0', 2))
            continue;
        if (!best || s->Greys() < best->Greys()) best = s;
    }
    return best;
}

// All ten numerals `height` rows tall and at most `maxWidth` wide, drawn
// alike (one hinting, one size, one width factor), as wide as they fit up
// to their natural width: at these sizes every column helps.
Numerals DrawNumerals(Typeface& tf, int height, int maxWidth) {
    std::optional<Numerals> best;
    for (const Hinting& hinting : kHintings)
        for (int step = -8; step <= 8; ++step) {
            const double ppem = tf.PpemForHeight(height) * (1 + step / 50.0);
            for (int wf = 40; wf >= 20; --wf) {
                Numerals n;
                n.hinting = &hinting;
                n.ppem = ppem;
                n.widthFactor = wf / 40.0;
                bool all = true;
                for (int d = 0; d < 10 && all; ++d) {
                    auto s = Crispest(tf, static_cast<char>('0' + d), ppem, n.widthFactor, hinting,
                                      height, maxWidth);
                    if (!s)
                        all = false;
                    else {
                        n.greys += s->Greys();
                        n.shapes[d] = std::move(*s);
                    }
                }
                if (!all) continue;
                if (!best || n.widthFactor > best->widthFactor ||
                    (n.widthFactor == best->widthFactor && n.greys < best->greys))
                    best = std::move(n);
                break;
            }
        }
    if (!best)
        throw std::runtime_error("no drawing keeps every numeral whole at " +
                                 std::to_string(height) + " rows");
    return *best;
}

std::string Describe(const Numerals& n) {
    char text[160];
    std::snprintf(text, sizeof text, "%s, %.2f pixels per em, width %.3f", n.hinting->name, n.ppem,
                  n.widthFactor);
    return text;
}

} // namespace

TrayGlyphs FitTrayGlyphs(Typeface& tf) {
    TrayGlyphs glyphs;
    std::vector<mivra::DayGlyphs> layouts;
    std::vector<std::uint8_t> shades;
    for (const Page& p : kPages) {
        TrayGlyphSet set;
        set.layout = p.layout;
        mivra::DayGlyphs& g = set.layout;
        const int box = g.boxRight - g.boxLeft + 1;
        const Numerals alone = DrawNumerals(tf, g.digitHeight, p.aloneWidth);
        const Numerals paired = DrawNumerals(tf, g.digitHeight, (box - g.pairGap) / 2);
        for (int d = 0; d < 10; ++d) {
            g.alone[d] = static_cast<std::uint8_t>(alone.shapes[d].width);
            g.paired[d] = static_cast<std::uint8_t>(paired.shapes[d].width);
        }
        for (const Numerals* kind : {&alone, &paired})
            for (const Shape& shape : kind->shapes)
                set.shades.insert(set.shades.end(), shape.shade.begin(), shape.shade.end());
        set.aloneDrawn = Describe(alone);
        set.pairedDrawn = Describe(paired);
        layouts.push_back(g);
        shades.insert(shades.end(), set.shades.begin(), set.shades.end());
        glyphs.sets.push_back(std::move(set));
    }
    glyphs.code = EncodeNumerals(layouts, std::move(shades));
    return glyphs;
}

namespace {

// The shades of the numerals, alone or paired, side by side as text: paper,
// light grey, dark grey, black.
std::string Art(const TrayGlyphSet& set, bool paired) {
    constexpr char kShades[] = " .+#";
    const mivra::DayGlyphs& g = set.layout;
    std::vector<const std::uint8_t*> numerals;
    const std::uint8_t* at = set.shades.data();
    for (int i = 0; i < mivra::kNumeralsPerSet; ++i) {
        if ((i >= 10) == paired) numerals.push_back(at);
        at += mivra::NumeralWidth(g, i) * g.digitHeight;
    }
    std::string art;
    for (int y = 0; y < g.digitHeight; ++y) {
        std::string line = "//";
        for (int d = 0; d < 10; ++d) {
            const int width = mivra::NumeralWidth(g, d + (paired ? 10 : 0));
            line += "  ";
            for (int x = 0; x < width; ++x)
                line += kShades[numerals[d][y * width + x] & 3];
        }
        line.erase(line.find_last_not_of(' ') + 1);
        art += line + "\n";
    }
    return art;
}

std::string Widths(const std::array<std::uint8_t, 10>& widths) {
    std::string list;
    for (std::uint8_t w : widths)
        list += (list.empty() ? "" : ", ") + std::to_string(w);
    return "{{" + list + "}}";
}

} // namespace

std::string TrayGlyphSource(const TrayGlyphs& glyphs) {
    std::string out =
        "// Written by tools/icongen.cpp (the day_icons target); change that, not this.\n"
        "// The pages and the numerals of the tray's composed day pictures, for\n"
        "// tray/day_picture.cpp; the numerals' shades are kept as the code of\n"
        "// tray/numeral_code.h. They are, below: paper, '.' light grey, '+' dark\n"
        "// grey, '#' black.\n"
        "// clang-format off\n"
        "#include \"tray/day_picture.h\"\n\nnamespace mivra {\n\nnamespace {\n";
    for (const TrayGlyphSet& set : glyphs.sets) {
        const std::string n = std::to_string(set.layout.size);
        out += "\n// " + n + " x " + n + ".\n// Alone: " + set.aloneDrawn + ".\n" +
               Art(set, false) + "// Paired: " + set.pairedDrawn + ".\n" + Art(set, true);
    }
    out += "\nconstexpr std::uint8_t kCode[] = {";
    for (std::size_t i = 0; i < glyphs.code.size(); ++i) {
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02x,", glyphs.code[i]);
        out += (i % 12 == 0 ? "\n    " : " ") + std::string(byte);
    }
    out += "\n};\n\nconstexpr DayGlyphs kSets[] = {\n";
    for (const TrayGlyphSet& set : glyphs.sets) {
        const mivra::DayGlyphs& g = set.layout;
        out += "    {\n";
        const auto field = [&](const char* name, const std::string& v) {
            out += std::string("        .") + name + " = " + v + ",\n";
        };
        field("size", std::to_string(g.size));
        field("pageLeft", std::to_string(g.pageLeft));
        field("pageTop", std::to_string(g.pageTop));
        field("pageRight", std::to_string(g.pageRight));
        field("pageBottom", std::to_string(g.pageBottom));
        field("markFirst", std::to_string(g.markFirst));
        field("markStep", std::to_string(g.markStep));
        field("markCount", std::to_string(g.markCount));
        field("markBottom", std::to_string(g.markBottom));
        field("digitTop", std::to_string(g.digitTop));
        field("digitHeight", std::to_string(g.digitHeight));
        field("boxLeft", std::to_string(g.boxLeft));
        field("boxRight", std::to_string(g.boxRight));
        field("pairGap", std::to_string(g.pairGap));
        field("alone", Widths(g.alone));
        field("paired", Widths(g.paired));
        out += "    },\n";
    }
    out += "};\n\n} // namespace\n\nconst GlyphLibrary kDayGlyphs{kSets, " +
           std::to_string(glyphs.sets.size()) + ", kCode, sizeof kCode};\n\n} // namespace mivra\n";
    return out;
}

} // namespace icongen
