// The committed day-number icons: their file format, the page they share and
// the day number each one shows, read straight from resources/.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/support/day_pictures.h"

namespace {

using mivra::test::DayIconFile;
using mivra::test::IsInk;
using mivra::test::ReadBytes;

const std::string kResources = MIVRA_SOURCE_DIR "/resources/";

constexpr int kBlack = 0, kDarkBlue = 4, kLightGrey = 7, kDarkGrey = 8, kWhite = 15;
constexpr int kBoxLeft = 4, kBoxTop = 5, kBoxRight = 26, kBoxBottom = 27;
constexpr std::size_t kPixelsAt = 22 + 40 + 16 * 4, kMaskAt = kPixelsAt + 512;

std::string ReadText(const std::string& path) {
    const auto bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// The little-endian number of `width` bytes at `at`.
std::uint32_t Field(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t width) {
    std::uint32_t n = 0;
    for (std::size_t i = width; i-- > 0;)
        n = n << 8 | b[at + i];
    return n;
}

// The page as drawn: ground, page, shadow and binding, without the number.
int FrameColour(int x, int y) {
    if (y <= 3 && x >= 3 && x <= 27 && x % 3 == 0) return kBlack;
    if (x == 2 && y == 29) return kDarkBlue;
    if (x == 28 && y == 29) return kBlack;
    if (x >= 2 && x <= 28 && y >= 2 && y <= 29) return kWhite;
    if (x == 29 && y >= 3 && y <= 29) return kBlack;
    if (y == 30 && x >= 4 && x <= 28) return kBlack;
    return kDarkBlue;
}

const std::vector<std::uint8_t>& Icon(int day) {
    return mivra::test::DayIconBytes(day);
}
// Palette indexes, y counted from the top.
mivra::test::Picture Pixels(int day) {
    return mivra::test::IcoPicture(Icon(day));
}

TEST(DayIcons, EachFileIsOneOpaque32x32SixteenColourIcon) {
    constexpr std::array<std::uint32_t, 16> kStandard = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int day = 1; day <= 31; ++day) {
        SCOPED_TRACE(DayIconFile(day));
        const auto& b = Icon(day);
        ASSERT_EQ(b.size(), 766u);
        // Each field's offset, width in bytes and value. Directory: reserved,
        // type icon, one image. Entry: 32 x 32, 16 colours, reserved, planes
        // 0, bit count 0, size, offset. BITMAPINFOHEADER: colour image plus
        // mask, 4 bits, BI_RGB.
        constexpr std::uint32_t kFields[][3] = {
            {0, 2, 0},   {2, 2, 1},   {4, 2, 1},  {6, 1, 32},   {7, 1, 32},  {8, 1, 16},
            {9, 1, 0},   {10, 2, 0},  {12, 2, 0}, {14, 4, 744}, {18, 4, 22}, {22, 4, 40},
            {26, 4, 32}, {30, 4, 64}, {34, 2, 1}, {36, 2, 4},   {38, 4, 0},  {42, 4, 640}};
        for (const auto& [at, width, value] : kFields)
            EXPECT_EQ(Field(b, at, width), value) << "at " << at;
        for (int i = 0; i < 16; ++i) {
            const std::size_t at = 62 + i * 4; // blue, green, red, reserved
            const std::uint32_t rgb = b[at + 2] << 16 | b[at + 1] << 8 | b[at];
            EXPECT_EQ(rgb, kStandard[i]) << "palette entry " << i;
            EXPECT_EQ(b[at + 3], 0) << "palette entry " << i;
        }
        for (std::size_t i = kMaskAt; i < b.size(); ++i)
            ASSERT_EQ(b[i], 0) << "mask byte " << i - kMaskAt << " hides a pixel";
        const auto pixels = Pixels(day).px;
        const std::set<int> used(pixels.begin(), pixels.end());
        for (int c : used)
            EXPECT_TRUE(c == kBlack || c == kDarkBlue || c == kLightGrey || c == kDarkGrey ||
                        c == kWhite)
                << "palette entry " << c << " is used";
    }
}

TEST(DayIcons, PageAroundTheNumberIsTheSameTearOffPageInAll) {
    // A few pixels named outright, so the check below cannot share a mistake
    // with the frame it compares against.
    // The ground at the edges, between two binding marks (4,1); the first
    // and the last binding mark (3,0 and 27,3, on the page), the page right
    // of it and its top-left corner; the turned-away bottom-left corner
    // (2,29); the shadow, which starts a row lower (29,2), and its ends.
    const auto first = Pixels(1);
    constexpr int kPixels[][3] = {
        {0, 0, kDarkBlue},   {31, 31, kDarkBlue}, {1, 15, kDarkBlue}, {30, 15, kDarkBlue},
        {15, 31, kDarkBlue}, {4, 1, kDarkBlue},   {3, 0, kBlack},     {27, 3, kBlack},
        {28, 3, kWhite},     {2, 2, kWhite},      {2, 29, kDarkBlue}, {3, 29, kWhite},
        {28, 29, kBlack},    {29, 2, kDarkBlue},  {29, 3, kBlack},    {29, 29, kBlack},
        {3, 30, kDarkBlue},  {4, 30, kBlack},     {29, 30, kDarkBlue}};
    for (const auto& [x, y, colour] : kPixels)
        EXPECT_EQ(first.At(x, y), colour) << "at " << x << "," << y;

    for (int day = 1; day <= 31; ++day) {
        SCOPED_TRACE(DayIconFile(day));
        const auto p = Pixels(day);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (x >= kBoxLeft && x <= kBoxRight && y >= kBoxTop && y <= kBoxBottom) continue;
                ASSERT_EQ(p.At(x, y), FrameColour(x, y)) << "at " << x << "," << y;
                ASSERT_EQ(p.At(x, y), first.At(x, y)) << "at " << x << "," << y;
            }
    }
}

// The numerals: each is one unbroken shape, and two numerals do not run
// into each other.
std::vector<mivra::test::InkShape> Numerals(const mivra::test::Picture& p) {
    return mivra::test::InkShapes(p, {kBoxLeft, kBoxTop, kBoxRight, kBoxBottom});
}

// What each numeral closes in; the tray's smaller pictures must keep it.
constexpr std::array<int, 10> kHoles = {1, 0, 0, 0, 1, 0, 1, 0, 2, 1};

TEST(DayIcons, NumberStandsInTheBoxAtFigureSize) {
    for (int day = 1; day <= 31; ++day) {
        SCOPED_TRACE(DayIconFile(day));
        const auto b = Pixels(day);
        int top = 32, bottom = -1, left = 32, right = -1, black = 0;
        for (int y = kBoxTop; y <= kBoxBottom; ++y)
            for (int x = kBoxLeft; x <= kBoxRight; ++x) {
                const int c = b.At(x, y);
                ASSERT_TRUE(c == kWhite || IsInk(c)) << "colour " << c << " at " << x << "," << y;
                if (!IsInk(c)) continue;
                black += c == kBlack;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
        ASSERT_GT(black, 40) << "the number is missing or faint";
        const int height = bottom - top + 1, width = right - left + 1;
        EXPECT_GE(height, 21);
        EXPECT_LE(height, 23);
        if (day < 10) {
            EXPECT_GE(width, 9);
            EXPECT_LE(width, 14);
            // Centred on the page's middle column (15), to the pixel.
            EXPECT_LE(std::abs(left + right - 30), 1) << "spans " << left << ".." << right;
            ASSERT_EQ(Numerals(b).size(), 1u);
        } else {
            EXPECT_EQ(left, 4);
            EXPECT_TRUE(right == 25 || right == 26) << "ends at " << right;
            ASSERT_EQ(Numerals(b).size(), 2u);
        }
        const std::string digits = std::to_string(day);
        for (std::size_t i = 0; i < digits.size(); ++i)
            EXPECT_EQ(Numerals(b)[i].holes, kHoles[digits[i] - '0']) << "numeral " << digits[i];
    }
}

TEST(DayIcons, EveryDayHasItsOwnPicture) {
    std::map<std::vector<std::uint8_t>, int> seen;
    for (int day = 1; day <= 31; ++day) {
        const auto [it, added] = seen.emplace(Icon(day), day);
        EXPECT_TRUE(added) << "day " << day << " looks like day " << it->second;
    }
}

TEST(DayIcons, ResourceScriptCarriesDaysInOrderAndDay31AsTheProgramIcon) {
    const std::string header = ReadText(kResources + "resource.h");
    EXPECT_TRUE(std::regex_search(header, std::regex(R"(#define\s+IDI_DAY_FIRST\s+101\b)")));
    EXPECT_TRUE(std::regex_search(header, std::regex(R"(#define\s+IDI_APP\s+1\b)")));

    const std::string days = ReadText(kResources + "day_icons.rc");
    // Numbers, as IDI_DAY_FIRST above gives them.
    const std::regex entry(R"re((\d+)\s+ICON\s+"([^"]+)")re");
    std::map<int, std::string> files;
    for (std::sregex_iterator m(days.begin(), days.end(), entry), end; m != end; ++m)
        EXPECT_TRUE(files.emplace(std::stoi((*m)[1]), (*m)[2]).second) << "twice: " << (*m)[0];
    ASSERT_EQ(files.size(), 31u);
    for (int day = 1; day <= 31; ++day)
        EXPECT_EQ(files[100 + day], DayIconFile(day));

    const std::string script = ReadText(kResources + "mivra.rc");
    std::smatch app;
    ASSERT_TRUE(std::regex_search(script, app, std::regex(R"re(\bIDI_APP\s+ICON\s+"([^"]+)")re")));
    EXPECT_TRUE(std::regex_search(script, std::regex(R"(#include\s+"day_icons.rc")")));
    const auto appIcon = ReadBytes(kResources + app[1].str());
    EXPECT_TRUE(appIcon == Icon(31)) << app[1] << " is not the page of day 31";
}

} // namespace
