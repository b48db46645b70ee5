// The system's colours as the windows see them, for tests: high contrast
// reported as the test says (Wine always reports it off and refuses to turn
// it on), and a contrast theme's colours set with SetSysColors for as long as
// a test needs them. They apply to every program of the Wine prefix, so they
// are put back when the theme goes.
#pragma once

#include <windows.h>

#include <array>

#include "platform/system_colors_win32.h"
#include "tests/support/contrast_themes.h"

namespace mivra::test {

struct TestSystemColors : Win32SystemColors {
    bool contrast = false;
    bool HighContrast() const override { return contrast; }
};

// Windows' dark contrast theme, set for as long as the object lives.
class DarkContrastTheme {
public:
    DarkContrastTheme() {
        std::array<COLORREF, kThemeElements.size()> dark{};
        for (std::size_t i = 0; i < kThemeElements.size(); ++i) {
            elements_[i] = static_cast<int>(kThemeElements[i]);
            saved_[i] = GetSysColor(elements_[i]);
            dark[i] = kDarkContrast[i];
        }
        SetSysColors(static_cast<int>(elements_.size()), elements_.data(), dark.data());
    }
    ~DarkContrastTheme() {
        SetSysColors(static_cast<int>(elements_.size()), elements_.data(), saved_.data());
    }
    DarkContrastTheme(const DarkContrastTheme&) = delete;
    DarkContrastTheme& operator=(const DarkContrastTheme&) = delete;

private:
    std::array<int, kThemeElements.size()> elements_{};
    std::array<COLORREF, kThemeElements.size()> saved_{};
};

} // namespace mivra::test
