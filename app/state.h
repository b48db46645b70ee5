// The program's module-level state, kept in one struct so each test can
// build a fresh one. Names follow the program's documented variables.
#pragma once

#include <cstdint>

#include "app/date.h"
#include "base/color.h"
#include "settings/options.h"
#include "tray/tray_icon.h"

namespace mivra {

// The colours the options window works on come from ColorState.
struct ModuleState : ColorState {
    std::int16_t DisplayMonth = 1;
    std::int16_t DisplayYear = 2000;
    Date LastDate = Date::First();

    Color DayTextColor = 0;
    Color OtherMonthTextColor = 0;

    NotifyRecord TrayIconData;
};

} // namespace mivra
