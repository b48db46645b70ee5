#include "tray/icons_win32.h"

#include <vector>

#include "platform/dpi_win32.h"
#include "resources/resource.h"
#include "tray/day_picture.h"

namespace mivra {

namespace {

// An opaque icon of size x size palette indexes.
UniqueIcon IconFromPicture(const std::vector<std::uint8_t>& picture, int size) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
    void* bits = nullptr;
    UniqueBitmap colour(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    // An all-zero mask: every pixel is the picture's. Rows of a monochrome
    // bitmap are padded to 16 bits; composed pictures are under 32 wide.
    static const std::uint8_t kNoTransparency[32 * 4] = {};
    UniqueBitmap mask(CreateBitmap(size, size, 1, 1, kNoTransparency));
    if (!colour || !mask || !bits) return {};
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < size * size; ++i)
        px[i] = 0xFF000000u | InkRgb(picture[i]);
    ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
    // The icon takes copies of both bitmaps.
    return UniqueIcon(CreateIconIndirect(&info));
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
    if (const DayGlyphs* glyphs = DayGlyphsFor(size))
        return IconFromPicture(ComposeDayPicture(*glyphs, day), size);
    // The resources' own 32 x 32 pictures; the system scales them to a
    // larger tray.
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(module_, MAKEINTRESOURCEW(IDI_DAY_FIRST + day - 1), IMAGE_ICON, size, size, 0)));
}

} // namespace mivra
