#include "tray/tray_icon.h"

#include <algorithm>

#include "tray/day_picture.h"

namespace mivra {

std::array<char, 64> FixedTip(std::string_view text) {
    std::array<char, 64> tip;
    tip.fill(' ');
    std::copy_n(text.begin(), std::min(text.size(), tip.size()), tip.begin());
    return tip;
}

bool IsTrayCallback(std::uintptr_t wParam, std::intptr_t lParam) {
    // The shell passes the icon's id and the mouse message; a real pointer
    // move carries key flags and packed coordinates instead.
    const auto msg = static_cast<std::uintptr_t>(lParam);
    return wParam == kTrayIconId && msg >= 0x0200 && msg <= 0x020E;
}

bool IsToggleCode(std::int32_t code) {
    return code == 0x0202 || code == 0x0205;
}

int TrayIconSize(int dpi) {
    // Rounded to the nearest pixel, as the system scales its metrics.
    return dpi > 0 ? (16 * dpi + 48) / 96 : 16;
}

int DayPictureSize(int traySize) {
    // The largest drawn size that fits, the icons' own among them; below
    // them all, the smallest.
    constexpr int kIconSize = 32;
    int fits = traySize >= kIconSize ? kIconSize : 0, smallest = kIconSize;
    for (int s = 0; s < kDayGlyphs.count; ++s) {
        const int size = kDayGlyphs.sets[s].size;
        if (size <= traySize && size > fits) fits = size;
        if (size < smallest) smallest = size;
    }
    return fits ? fits : smallest;
}

} // namespace mivra
