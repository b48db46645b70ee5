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

void TrayIcon::Fill(std::uintptr_t window, std::uintptr_t picture) {
    record_.cbSize = kNotifyRecordSize;
    record_.hWnd = window;
    record_.uID = kTrayIconId;
    record_.uFlags = kNifMessage | kNifIcon | kNifTip;
    record_.uCallbackMessage = kTrayCallbackMessage;
    // The tip is followed by one NUL so the shell shows only the text.
    std::array<char, kTrayTip.size() + 1> tip{};
    std::copy(kTrayTip.begin(), kTrayTip.end(), tip.begin());
    record_.szTip = FixedTip({tip.data(), tip.size()});
    record_.hIcon = picture;
}

bool TrayIcon::Call(NotifyOp op) {
    if (closing_) return false;
    const bool ok = shell_.Notify(op, record_);
    // A close that came while the shell was busy has deleted the icon.
    return ok && !closing_;
}

void TrayIcon::Delete(std::uintptr_t window) {
    if (closing_) return;
    closing_ = true;
    record_.cbSize = kNotifyRecordSize;
    record_.hWnd = window;
    record_.uID = kTrayIconId;
    shell_.Notify(NotifyOp::Delete, record_);
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
