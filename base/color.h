// Colours as GDI keeps them (0x00BBGGRR) and the sixteen-colour palette that
// both the calendar's fixed colours and the colour picker draw from.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace mivra {

using Color = std::uint32_t;

inline constexpr Color kMaxColor = 0x00FFFFFF;

inline constexpr std::array<Color, 16> kPalette = {
    0x00000000, // 0 black
    0x00800000, // 1 dark blue
    0x00008000, // 2 dark green
    0x00808000, // 3 dark cyan
    0x00000080, // 4 dark red
    0x00800080, // 5 dark magenta
    0x00008080, // 6 dark yellow
    0x00C0C0C0, // 7 light grey
    0x00808080, // 8 dark grey
    0x00FF0000, // 9 blue
    0x0000FF00, // 10 green
    0x00FFFF00, // 11 cyan
    0x000000FF, // 12 red
    0x00FF00FF, // 13 magenta
    0x0000FFFF, // 14 yellow
    0x00FFFFFF, // 15 white
};

// The Windows system colours the program uses, by their COLOR_* numbers.
enum class SysColor : int {
    Window = 5,
    WindowFrame = 6,
    WindowText = 8,
    Highlight = 13,
    HighlightText = 14,
    ButtonFace = 15,
    GrayText = 17,
    ButtonText = 18,
    HotLight = 26,
};

// A designed colour 0x800000nn stands for the system colour nn.
constexpr Color SystemColor(SysColor c) {
    return 0x80000000u | static_cast<Color>(c);
}

// What the palette's colours are called, for screen readers.
inline constexpr std::array<std::wstring_view, 16> kPaletteNames = {
    L"black",       L"dark blue",  L"dark green", L"dark cyan", L"dark red", L"dark magenta",
    L"dark yellow", L"light grey", L"dark grey",  L"blue",      L"green",    L"cyan",
    L"red",         L"magenta",    L"yellow",     L"white",
};

} // namespace mivra
