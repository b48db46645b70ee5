// Fonts as designed: face, size, character set and style. The platform
// layer makes a real font of one for a window's DPI.
#pragma once

#include <string_view>

namespace mivra {

struct FontSpec {
    std::wstring_view face;
    int centiPoints = 0; // hundredths of a point: 8.25 pt is 825
    bool symbol = false; // SYMBOL_CHARSET
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend constexpr bool operator==(const FontSpec&, const FontSpec&) = default;
};

// The face of every text the forms were designed in.
inline constexpr std::wstring_view kSansSerif = L"MS Sans Serif";
// The forms' default font: the options window's buttons, check box and plain
// labels, the picker's Cancel and the calendar's "x".
inline constexpr FontSpec kDialogFont{kSansSerif, 825};

} // namespace mivra
