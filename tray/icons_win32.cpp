#include "tray/icons_win32.h"

#include <memory>
#include <vector>

#include "platform/dpi_win32.h"
#include "resources/resource.h"
#include "tray/day_picture.h"

namespace mivra {

namespace {

// An opaque icon of size x size palette indexes.
UniqueIcon IconFromPicture(const std::vector<std::uint8_t>& picture, int size) {
    if (size <= 0 || picture.size() != static_cast<std::size_t>(size) * size) return {};
    // Its colours, 32 bits a pixel, then as many words for an all-zero mask
    // (every pixel is the picture's), more than its rows need padded to 16 bits.
    const std::size_t pixels = picture.size();
    const std::unique_ptr<std::uint32_t[]> bits(new std::uint32_t[2 * pixels]());
    for (std::size_t i = 0; i < pixels; ++i)
        bits[i] = 0xFF000000u | InkRgb(picture[i]);
    return UniqueIcon(CreateIcon(nullptr, size, size, 1, 32,
                                 reinterpret_cast<const BYTE*>(bits.get() + pixels),
                                 reinterpret_cast<const BYTE*>(bits.get())));
}

} // namespace

int TaskbarDpi() {
    const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    return taskbar ? MonitorDpi(taskbar) : SystemDpi();
}

std::uintptr_t Icons::IconForDay(int day) {
    return reinterpret_cast<std::uintptr_t>(ForDay(day));
}

int Icons::TraySize() {
    if (!traySize_) TraySizeChanged();
    return traySize_;
}

bool Icons::TraySizeChanged() {
    const int dpi = taskbarDpi_();
    const int size = MetricForDpi(SM_CXSMICON, dpi, TrayIconSize(dpi));
    if (size == traySize_) return false;
    traySize_ = size;
    return true;
}

HICON Icons::ForDay(int day) {
    // There is no picture for any other day. No icon at all beats a
    // neighbour's picture, which would show a wrong date.
    if (day < 1 || day > 31) return nullptr;
    const int size = DayPictureSize(TraySize());
    if (!current_ || day != day_ || size != size_) {
        UniqueIcon next = Make(day, size);
        // Out of resources: the same day at the old size will do until the
        // next refresh tries again; another day's picture would not.
        if (!next) return day == day_ ? current_.Get() : nullptr;
        previous_ = std::move(current_);
        current_ = std::move(next);
        day_ = day;
        size_ = size;
    }
    return current_.Get();
}

UniqueIcon Icons::Make(int day, int size) const {
    const std::vector<std::uint8_t> picture = DayPicture(size, day);
    if (!picture.empty()) return IconFromPicture(picture, size);
    // The resources' own 32 x 32 pictures.
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(module_, MAKEINTRESOURCEW(IDI_DAY_FIRST + day - 1), IMAGE_ICON, size, size, 0)));
}

} // namespace mivra
