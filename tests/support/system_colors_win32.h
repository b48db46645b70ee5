// The system's colours as the windows see them, for tests: high contrast
// reported as the test says (Wine always reports it off and refuses to turn
// it on), and a contrast theme's colours set with SetSysColors for as long as
// a test needs them. They apply to every program of the Wine prefix, so they
// are put back when the theme goes.
#pragma once

#include <windows.h>

#include <array>

#include "platform/system_colors_win32.h"

namespace mivra::test {

struct TestSystemColors : Win32SystemColors {
    bool contrast = false;
    bool HighContrast() const override { return contrast; }
};

// Windows' dark contrast theme, for the colours the program asks for.
class DarkContrastTheme {
public:
    static constexpr std::array<int, 9> kElements = {
        COLOR_WINDOW,  COLOR_WINDOWFRAME, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
        COLOR_BTNFACE, COLOR_GRAYTEXT,    COLOR_BTNTEXT,    COLOR_HOTLIGHT};
    static constexpr std::array<COLORREF, 9> kColors = {
        RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255), RGB(26, 235, 255), RGB(0, 0, 0),
        RGB(0, 0, 0), RGB(63, 242, 63),   RGB(255, 255, 255), RGB(255, 255, 0)};

    DarkContrastTheme() {
        for (size_t i = 0; i < kElements.size(); ++i)
            saved_[i] = GetSysColor(kElements[i]);
        SetSysColors(static_cast<int>(kElements.size()), kElements.data(), kColors.data());
    }
    ~DarkContrastTheme() {
        SetSysColors(static_cast<int>(kElements.size()), kElements.data(), saved_.data());
    }
    DarkContrastTheme(const DarkContrastTheme&) = delete;
    DarkContrastTheme& operator=(const DarkContrastTheme&) = delete;

private:
    std::array<COLORREF, 9> saved_{};
};

} // namespace mivra::test
