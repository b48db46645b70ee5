// Draws the 31 day-number icons: a tear-off calendar page on a dark blue
// ground with the day in a bold serif face, anti-aliased with two greys.
// The .ico files are committed; a CTest regenerates them and compares, so
// this program must give the same bytes on every run. They also depend on
// the rasteriser and the font: the committed set was drawn with FreeType
// 2.12.1 and Liberation Serif Bold 1.07.4 (Debian 12); after a change to
// either, redraw (the day_icons target) and review the contact sheets.
//
//   icongen <out-dir> [--font <ttf>] [--sheet <png>] [--glyphs <cpp>]
//                     [--tray-sheet <png>]
//
// Writes <out-dir>/day01.ico ... day31.ico; --sheet also writes all 31 side
// by side at four times their size, for a look at them in review. --glyphs
// writes the pages and numerals of the tray's composed pictures as C++
// source (tray/day_glyphs.cpp), --tray-sheet every day at every tray size.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bytes.h"
#include "tray/day_picture.h"
#include "tray_glyphs.h"
#include "typeface.h"

#ifndef MIVRA_ICON_FONT
#define MIVRA_ICON_FONT "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf"
#endif

namespace {

using namespace icongen;

constexpr int kSize = 32;
constexpr int kPixels = kSize * kSize;

// Indexes into the standard Windows 16-colour palette.
enum Ink : std::uint8_t { kBlack = 0, kDarkBlue = 4, kLightGrey = 7, kDarkGrey = 8, kWhite = 15 };

// 0xRRGGBB, in palette order.
constexpr std::array<std::uint32_t, 16> kIconPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

using Image = std::array<std::uint8_t, kPixels>; // palette indexes, row 0 at the top
using Coverage = std::array<float, kPixels>;     // 0 = paper, 1 = fully inked

// The digits stay inside this box so that the page around them is the same
// in every icon.
constexpr int kBoxLeft = 4, kBoxTop = 5, kBoxRight = 26, kBoxBottom = 27;

// Type metrics, in pixels. The baseline sits on the box's bottom edge; the
// height makes the figures 22 rows tall.
constexpr double kBaseline = kBoxBottom + 1;
constexpr double kFigureHeight = 22.0;
// One numeral keeps nearly its own proportions; two are narrowed to share
// the page, each pair as little as it needs, with at least this much air.
constexpr double kSingleWidthFactor = 0.88;
constexpr double kPairMinFactor = 0.70, kPairMaxFactor = 0.80;
constexpr double kPairGap = 1.6;
// Right edge of a pair's ink, between columns 25 and 26; nudging may let
// the last stroke reach column 26, the box's last.
constexpr double kPairRight = kBoxRight;

Image Frame() {
    Image img;
    img.fill(kDarkBlue);
    auto set = [&](int x, int y, Ink c) { img[y * kSize + x] = c; };
    for (int y = 2; y <= 29; ++y)
        for (int x = 2; x <= 28; ++x)
            set(x, y, kWhite);
    set(2, 29, kDarkBlue); // the page's bottom-left corner is turned away
    for (int y = 3; y <= 29; ++y)
        set(29, y, kBlack);
    for (int x = 4; x <= 28; ++x)
        set(x, 30, kBlack);
    set(28, 29, kBlack);
    for (int x = 3; x <= 27; x += 3)
        for (int y = 0; y <= 3; ++y)
            set(x, y, kBlack);
    return img;
}

// Coverage to the palette's shades of ink on white.
Ink Shade(float c) {
    constexpr Ink kShades[] = {kWhite, kLightGrey, kDarkGrey, kBlack};
    return kShades[ShadeLevel(c)];
}

bool Inked(float c) {
    return Shade(c) != kWhite;
}

struct Extent {
    int first = kSize, last = -1; // inked columns
    bool Empty() const { return last < first; }
};

Extent Columns(const Coverage& cov) {
    Extent e;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (Inked(cov[y * kSize + x])) {
                e.first = std::min(e.first, x);
                e.last = std::max(e.last, x);
            }
    return e;
}

bool InsideBox(const Coverage& cov) {
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (Inked(cov[y * kSize + x]) &&
                (x < kBoxLeft || x > kBoxRight || y < kBoxTop || y > kBoxBottom))
                return false;
    return true;
}

// Grey pixels make a figure look soft; fewer is crisper.
int Greys(const Coverage& cov) {
    int n = 0;
    for (float c : cov) {
        const Ink s = Shade(c);
        n += s == kDarkGrey || s == kLightGrey;
    }
    return n;
}

// Draws a figure kFigureHeight tall with its origin at (x, kBaseline).
Coverage Draw(Typeface& tf, char digit, double widthFactor, double x) {
    const double whole = std::floor(x);
    const Rendered r = tf.Render(digit, tf.PpemForHeight(kFigureHeight), widthFactor,
                                 std::lround((x - whole) * 64));
    Coverage cov{};
    const int left = r.left + static_cast<int>(whole);
    const int top = static_cast<int>(kBaseline) - r.top;
    for (int row = 0; row < r.rows; ++row)
        for (int col = 0; col < r.width; ++col) {
            const int px = left + col, py = top + row;
            const std::uint8_t v = r.At(col, row);
            if (v == 0) continue;
            if (px < 0 || px >= kSize || py < 0 || py >= kSize)
                throw std::runtime_error("a figure falls off the icon");
            cov[py * kSize + px] = v / 255.0f;
        }
    return cov;
}

std::pair<double, double> InkSpan(Typeface& tf, char digit, double widthFactor) {
    return tf.InkSpan(digit, tf.PpemForHeight(kFigureHeight), widthFactor);
}

// Sub-pixel nudges tried for each figure, in eighths of a pixel: a stem that
// lands on whole pixels is black, not a smear of greys.
constexpr std::array<int, 9> kNudges = {0, 1, -1, 2, -2, 3, -3, 4, -4};

Coverage Add(const Coverage& a, const Coverage& b) {
    Coverage s;
    for (int i = 0; i < kPixels; ++i)
        s[i] = std::min(1.0f, a[i] + b[i]);
    return s;
}

// True when the two figures' inked pixels touch or overlap (8-neighbours).
bool Touch(const Coverage& a, const Coverage& b) {
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            if (!Inked(a[y * kSize + x])) continue;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && nx < kSize && ny >= 0 && ny < kSize && Inked(b[ny * kSize + nx]))
                        return true;
                }
        }
    return false;
}

Coverage OneFigure(Typeface& tf, char d) {
    const auto [l, r] = InkSpan(tf, d, kSingleWidthFactor);
    const double centre = 15.5; // middle of column 15, the page's middle column
    const double x = centre - (l + r) / 2;
    std::optional<Coverage> best;
    int bestGreys = 0;
    for (int n : kNudges) {
        Coverage c = Draw(tf, d, kSingleWidthFactor, x + n / 8.0);
        const Extent e = Columns(c);
        // Centred to the pixel: equal margins, or one column more on one side.
        if (!InsideBox(c) || std::abs(e.first + e.last - 2 * 15) > 1) continue;
        if (!best || Greys(c) < bestGreys) {
            bestGreys = Greys(c);
            best = c;
        }
    }
    if (!best) throw std::runtime_error("no placement centres the figure");
    return *best;
}

Coverage TwoFigures(Typeface& tf, char d0, char d1) {
    // Narrow the pair just enough to fit the box with kPairGap between them.
    const auto [l0n, r0n] = InkSpan(tf, d0, 1.0);
    const auto [l1n, r1n] = InkSpan(tf, d1, 1.0);
    const double natural = (r0n - l0n) + (r1n - l1n);
    const double factor =
        std::clamp((kPairRight - kBoxLeft - kPairGap) / natural, kPairMinFactor, kPairMaxFactor);
    // The first numeral starts at the box's left edge, the second ends
    // against its right edge.
    const double x0 = kBoxLeft - InkSpan(tf, d0, factor).first;
    const double x1 = kPairRight - InkSpan(tf, d1, factor).second;

    std::optional<Coverage> best;
    int bestGreys = 0;
    for (int n0 : kNudges) {
        const Coverage a = Draw(tf, d0, factor, x0 + n0 / 8.0);
        if (!InsideBox(a) || Columns(a).first != kBoxLeft) continue;
        for (int n1 : kNudges) {
            const Coverage b = Draw(tf, d1, factor, x1 + n1 / 8.0);
            const int last = Columns(b).last;
            if (!InsideBox(b) || (last != kBoxRight - 1 && last != kBoxRight) || Touch(a, b))
                continue;
            const Coverage both = Add(a, b);
            if (!best || Greys(both) < bestGreys) {
                bestGreys = Greys(both);
                best = both;
            }
        }
    }
    if (!best) throw std::runtime_error("no placement fits the pair");
    return *best;
}

Image DayIcon(Typeface& tf, int day) {
    const std::string digits = std::to_string(day);
    const Coverage cov =
        digits.size() == 1 ? OneFigure(tf, digits[0]) : TwoFigures(tf, digits[0], digits[1]);
    Image img = Frame();
    for (int i = 0; i < kPixels; ++i)
        if (Inked(cov[i])) img[i] = Shade(cov[i]);
    return img;
}

// One 32x32 image, 16 colours: directory, bitmap header, palette, pixels
// bottom-up two to a byte, and an all-zero (fully opaque) AND mask.
std::vector<std::uint8_t> EncodeIcon(const Image& img) {
    constexpr std::uint32_t kXorBytes = kSize * kSize / 2, kAndBytes = kSize * 4;
    constexpr std::uint32_t kImageBytes = 40 + 16 * 4 + kXorBytes + kAndBytes;
    Bytes out;
    out.U16(0); // reserved
    out.U16(1); // icon
    out.U16(1); // one image
    out.U8(kSize);
    out.U8(kSize);
    out.U8(16); // colours
    out.U8(0);  // reserved
    out.U16(0); // planes
    out.U16(0); // bits per pixel
    out.U32(kImageBytes);
    out.U32(22); // offset of the image
    out.U32(40); // BITMAPINFOHEADER
    out.U32(kSize);
    out.U32(kSize * 2); // colour image plus mask
    out.U16(1);
    out.U16(4);
    out.U32(0); // BI_RGB
    out.U32(kXorBytes + kAndBytes);
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U32(0);
    for (std::uint32_t rgb : kIconPalette) {
        out.U8(rgb & 0xFF);
        out.U8(rgb >> 8 & 0xFF);
        out.U8(rgb >> 16 & 0xFF);
        out.U8(0);
    }
    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; x += 2)
            out.U8(static_cast<unsigned>(img[y * kSize + x] << 4 | img[y * kSize + x + 1]));
    for (std::uint32_t i = 0; i < kAndBytes; ++i)
        out.U8(0);
    return out.Data();
}

// All icons at four times their size, eight to a row, on a light grey card.
std::vector<std::uint8_t> ContactSheet(const std::vector<Image>& icons) {
    constexpr int kScale = 4, kGap = 8, kPerRow = 8;
    const int rows = (static_cast<int>(icons.size()) + kPerRow - 1) / kPerRow;
    const int width = kGap + kPerRow * (kSize * kScale + kGap);
    const int height = kGap + rows * (kSize * kScale + kGap);
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(width) * height, 0xD8D8D8);
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const int ox = kGap + static_cast<int>(i % kPerRow) * (kSize * kScale + kGap);
        const int oy = kGap + static_cast<int>(i / kPerRow) * (kSize * kScale + kGap);
        for (int y = 0; y < kSize * kScale; ++y)
            for (int x = 0; x < kSize * kScale; ++x)
                rgb[static_cast<std::size_t>(oy + y) * width + ox + x] =
                    kIconPalette[icons[i][(y / kScale) * kSize + x / kScale]];
    }
    return EncodePng(width, height, rgb);
}

// Every day at every size the tray uses, three times magnified: per day
// the pictures the program composes and its 32-pixel icon, smallest first.
std::vector<std::uint8_t> TraySheet(const std::vector<Image>& icons, const TrayGlyphs& glyphs) {
    constexpr int kScale = 3, kGap = 6, kGroupGap = 18, kPerRow = 2;
    // Each day's pictures by size; the icon's has no set.
    std::vector<std::pair<int, const TrayGlyphSet*>> sizes{{kSize, nullptr}};
    for (const TrayGlyphSet& set : glyphs.sets)
        sizes.emplace_back(set.layout.size, &set);
    std::sort(sizes.begin(), sizes.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    int groupWidth = -kGap;
    for (const auto& [size, set] : sizes)
        groupWidth += size * kScale + kGap;
    const int rowHeight = sizes.back().first * kScale;
    const int rows = (static_cast<int>(icons.size()) + kPerRow - 1) / kPerRow;
    const int width = kGroupGap + kPerRow * (groupWidth + kGroupGap);
    const int height = kGroupGap + rows * (rowHeight + kGroupGap);
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(width) * height, 0xD8D8D8);
    // A picture with its bottom edge on `bottom`.
    const auto put = [&](const std::vector<std::uint8_t>& px, int size, int left, int bottom) {
        for (int y = 0; y < size * kScale; ++y)
            for (int x = 0; x < size * kScale; ++x)
                rgb[static_cast<std::size_t>(bottom - size * kScale + y) * width + left + x] =
                    kIconPalette[px[(y / kScale) * size + x / kScale]];
    };
    for (int day = 1; day <= static_cast<int>(icons.size()); ++day) {
        int left = kGroupGap + (day - 1) % kPerRow * (groupWidth + kGroupGap);
        const int bottom =
            kGroupGap + ((day - 1) / kPerRow + 1) * (rowHeight + kGroupGap) - kGroupGap;
        for (const auto& [size, set] : sizes) {
            put(set ? mivra::ComposeDayPicture(set->layout, set->shades.data(), day)
                    : std::vector<std::uint8_t>(icons[day - 1].begin(), icons[day - 1].end()),
                size, left, bottom);
            left += size * kScale + kGap;
        }
    }
    return EncodePng(width, height, rgb);
}

int Usage() {
    std::fputs("usage: icongen <out-dir> [--font <ttf>] [--sheet <png>] [--glyphs <cpp>]\n"
               "               [--tray-sheet <png>]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::optional<std::filesystem::path> outDir, sheet, glyphs, traySheet;
    std::string font = MIVRA_ICON_FONT;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--font" && i + 1 < argc)
            font = argv[++i];
        else if (arg == "--sheet" && i + 1 < argc)
            sheet = argv[++i];
        else if (arg == "--glyphs" && i + 1 < argc)
            glyphs = argv[++i];
        else if (arg == "--tray-sheet" && i + 1 < argc)
            traySheet = argv[++i];
        else if (!arg.starts_with("--") && !outDir)
            outDir = arg;
        else
            return Usage();
    }
    if (!outDir) return Usage();

    try {
        Typeface tf(font);
        std::filesystem::create_directories(*outDir);
        std::vector<Image> icons;
        for (int day = 1; day <= 31; ++day) {
            icons.push_back(DayIcon(tf, day));
            char name[16];
            std::snprintf(name, sizeof name, "day%02d.ico", day);
            WriteFile(*outDir / name, EncodeIcon(icons.back()));
        }
        if (sheet) WriteFile(*sheet, ContactSheet(icons));
        if (glyphs || traySheet) {
            const TrayGlyphs tray = FitTrayGlyphs(tf);
            if (glyphs) {
                const std::string source = TrayGlyphSource(tray);
                WriteFile(*glyphs, std::vector<std::uint8_t>(source.begin(), source.end()));
            }
            if (traySheet) WriteFile(*traySheet, TraySheet(icons, tray));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "icongen: %s\n", e.what());
        return 1;
    }
    return 0;
}
