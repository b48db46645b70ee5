// The program's module-level state, kept in one struct so each test can
// build a fresh one. Names follow the program's documented variables.
#pragma once

#include <cstdint>

#include "app/date.h"
#include "base/color.h"
#include "settings/settings.h"
#include "tray/tray_icon.h"

namespace mivra {

// The calendar's two fixed text colours: black days, grey neighbours.
inline constexpr Color kDayTextColor = kPalette[0];
inline constexpr Color kOtherMonthTextColor = kPalette[7];

// The settings, their defaults and PickedColor come from SettingsState.
struct ModuleState : SettingsState {
    std::int16_t DisplayMonth = 1;
    std::int16_t DisplayYear = 2000;
    Date LastDate = Date::First();

    Color DayTextColor = 0;
    Color OtherMonthTextColor = 0;

    NotifyRecord TrayIconData;
};

} // namespace mivra
