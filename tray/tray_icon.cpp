#include "tray/tray_icon.h"

#include <algorithm>

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

} // namespace mivra
