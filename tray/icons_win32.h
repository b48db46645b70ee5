// The tray's day pictures at the size the notification area shows: the
// 32 x 32 icon resources at 32 pixels, pictures composed for the other
// sizes (tray/day_picture.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <utility>

#include "platform/handles_win32.h"
#include "tray/tray_icon.h"

namespace mivra {

// The DPI of the monitor that holds the taskbar, else the system's.
int TaskbarDpi();

class Icons final : public IconSource {
public:
    // module: the executable whose resources carry the 32 x 32 pictures.
    // taskbarDpi: where the notification area's DPI comes from.
    explicit Icons(HINSTANCE module, std::function<int()> taskbarDpi = TaskbarDpi)
        : module_(module), taskbarDpi_(std::move(taskbarDpi)) {}
    Icons(const Icons&) = delete;
    Icons& operator=(const Icons&) = delete;

    std::uintptr_t IconForDay(int day) override;
    bool TraySizeChanged() override;

    // The picture of day 1 to 31 at the current size, made when the day or
    // the size differs from the last picture's. Only that picture and the one
    // before it are held: the one before stays valid until the next is
    // made, so the shell always has a live picture while it takes the new
    // one. The holder must outlive the notification icon.
    HICON ForDay(int day);
    // The size of the notification area's icons the pictures are made for.
    int TraySize();

private:
    UniqueIcon Make(int day, int size) const;

    HINSTANCE module_;
    std::function<int()> taskbarDpi_;
    int traySize_ = 0;       // 0 until first looked up
    int day_ = 0, size_ = 0; // of `current_`
    UniqueIcon current_, previous_;
};

} // namespace mivra
