// How a painted label draws a symbol caption: in the symbol font where the
// system has that font with the glyph, else as a shape of its own.
#include "platform/label_paint_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "tests/support/dib_canvas_win32.h"

namespace mivra {
namespace {

// The Wingdings Wine ships, which a fresh prefix does not find by itself. It
// holds the dot of "Jump to Today" (0x6C) but not Hide's bent arrow (0xCA).
constexpr wchar_t kWineWingdings[] = L"Z:\\usr\\share\\wine\\fonts\\wingding.ttf";

// The pixels of a caption in a font, painted as the symbol font asks or as
// the plain text of the same font.
std::vector<std::uint32_t> Painted(std::wstring_view caption, std::wstring_view face, bool symbol) {
    const test::DibCanvas canvas(40, 40);
    FontCache fonts;
    PaintLabel(canvas.Dc(), RECT{0, 0, 40, 40}, {.caption = caption, .fore = 0, .back = 0xFFFFFF},
               fonts.Get({face, 1440, true}, 96), {face, 1440, symbol});
    GdiFlush();
    return {canvas.Bits(), canvas.Bits() + 40 * 40};
}

TEST(LabelPaint, ASymbolIsTextInAFontThatHasItAndAShapeWhereTheFontOrTheGlyphIsMissing) {
    // A face the system lacks: it substitutes a text font, and both glyphs
    // are shapes; a longer caption is text all the same.
    const std::wstring_view dot = L"\x6C", arrow = L"\xCA", none = L"Mivra Missing Symbols";
    EXPECT_NE(Painted(dot, none, true), Painted(dot, none, false));
    EXPECT_NE(Painted(arrow, none, true), Painted(arrow, none, false));
    EXPECT_EQ(Painted(L"\x6C\x6C", none, true), Painted(L"\x6C\x6C", none, false));

    if (!AddFontResourceExW(kWineWingdings, FR_PRIVATE, nullptr))
        GTEST_SKIP() << "no Wingdings to add";
    EXPECT_EQ(Painted(dot, L"Wingdings", true), Painted(dot, L"Wingdings", false))
        << "the dot is the font's";
    EXPECT_NE(Painted(arrow, L"Wingdings", true), Painted(arrow, L"Wingdings", false))
        << "the arrow the font lacks is a shape";
    RemoveFontResourceExW(kWineWingdings, FR_PRIVATE, nullptr);

    // One font for one face, size and DPI; another for another DPI.
    FontCache fonts;
    EXPECT_EQ(fonts.Get(kDialogFont, 96), fonts.Get(kDialogFont, 96));
    EXPECT_NE(fonts.Get(kDialogFont, 96), fonts.Get(kDialogFont, 144));
}

} // namespace
} // namespace mivra
