// Windows' own dark and light contrast themes, for the system colours the
// program asks for: one table for the portable tests' colour source and for
// the colours the Win32 tests set with SetSysColors.
#pragma once

#include <array>

#include "base/color.h"

namespace mivra::test {

// The elements a theme colours, in the order of its colours (0x00BBGGRR).
inline constexpr std::array<SysColor, 9> kThemeElements = {
    SysColor::Window,    SysColor::WindowFrame,   SysColor::WindowText,
    SysColor::Highlight, SysColor::HighlightText, SysColor::ButtonFace,
    SysColor::GrayText,  SysColor::ButtonText,    SysColor::HotLight};
using ContrastTheme = std::array<Color, kThemeElements.size()>;

inline constexpr ContrastTheme kDarkContrast = {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFEB1A, 0x000000,
                                                0x000000, 0x3FF23F, 0xFFFFFF, 0x00FFFF};
inline constexpr ContrastTheme kLightContrast = {0xFFFFFF, 0x000000, 0x000000, 0x6E0037, 0xFFFFFF,
                                                 0xFFFFFF, 0x000060, 0x000000, 0x9F0000};

// A theme's colour for an element; `otherwise` for one it does not colour.
constexpr Color ThemeColor(const ContrastTheme& theme, SysColor element, Color otherwise) {
    for (std::size_t i = 0; i < kThemeElements.size(); ++i)
        if (kThemeElements[i] == element) return theme[i];
    return otherwise;
}

} // namespace mivra::test
