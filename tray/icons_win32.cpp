#include "tray/icons_win32.h"

#include "resources/resource.h"

namespace mivra {

std::uintptr_t Icons::IconForDay(int day) {
    return reinterpret_cast<std::uintptr_t>(ForDay(day));
}

HICON Icons::ForDay(int day) {
    // There is no picture for any other day. No icon at all beats a
    // neighbour's picture, which would show a wrong date.
    if (day < 1 || day > static_cast<int>(icons_.size())) return nullptr;
    // Each picture is loaded when its day first comes, and kept: start-up
    // needs only today's.
    UniqueIcon& icon = icons_[day - 1];
    if (!icon) {
        // The notification area draws small icons. The pictures are 32 x 32,
        // so let the system shrink them once here; the window's own icon
        // comes from IDI_APP and needs no handle from this set.
        const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
        icon.Reset(static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(IDI_DAY_FIRST + day - 1),
                                                 IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR)));
    }
    return icon.Get();
}

} // namespace mivra
