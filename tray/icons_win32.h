// The 31 day-number pictures for the notification area, taken from the
// program's resources and kept for as long as the holder lives.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "platform/handles_win32.h"
#include "tray/tray_icon.h"

namespace mivra {

class Icons final : public IconSource {
public:
    // module: the executable whose resources carry the pictures.
    explicit Icons(HINSTANCE module) : module_(module) {}
    Icons(const Icons&) = delete;
    Icons& operator=(const Icons&) = delete;

    // The picture of day 1 to 31, loaded the first time that day is asked
    // for. Handles stay valid until the holder is destroyed, so the holder
    // must outlive the notification icon that shows them.
    std::uintptr_t IconForDay(int day) override;
    HICON ForDay(int day);

private:
    HINSTANCE module_;
    std::array<UniqueIcon, 31> icons_;
};

} // namespace mivra
