#include "tray/tray_icon.h"

#include <algorithm>
#include <cmath>

namespace mivra {

std::array<char, 64> FixedTip(std::string_view text) {
    std::array<char, 64> tip;
    tip.fill(' ');
    std::copy_n(text.begin(), std::min(text.size(), tip.size()), tip.begin());
    return tip;
}

namespace {

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

std::array<std::uint8_t, kNotifyRecordSize> Serialize32(const NotifyRecord& r) {
    std::array<std::uint8_t, kNotifyRecordSize> b{};
    Put32(&b[0], r.cbSize);
    Put32(&b[4], static_cast<std::uint32_t>(r.hWnd));
    Put32(&b[8], r.uID);
    Put32(&b[12], r.uFlags);
    Put32(&b[16], r.uCallbackMessage);
    Put32(&b[20], static_cast<std::uint32_t>(r.hIcon));
    std::copy(r.szTip.begin(), r.szTip.end(), b.begin() + 24);
    return b;
}

std::int32_t DecodeCallbackX(double xTwips, double twipsPerPixel) {
    if (!(twipsPerPixel > 0)) return 0;
    // The default rounding mode goes to the even neighbour on a half.
    const double code = std::nearbyint(xTwips / twipsPerPixel);
    if (!(code >= INT32_MIN && code <= INT32_MAX)) return 0;
    return static_cast<std::int32_t>(code);
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
