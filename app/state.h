// The program's module-level state, kept in one struct so each test can
// build a fresh one. Names follow the program's documented variables.
#pragma once

#include <cstdint>

#include "base/color.h"
#include "app/date.h"
#include "tray/tray_icon.h"

namespace mivra {

struct ModuleState {
    std::int16_t DisplayMonth = 1;
    std::int16_t DisplayYear = 2000;
    Date LastDate = Date::First();

    Color DayTextColor = 0;
    Color OtherMonthTextColor = 0;
    Color DefaultLabelColor = 0;
    Color DefaultCalendarColor = 0;
    Color LabelColor = 0;
    Color CalendarColor = 0;

    NotifyRecord TrayIconData;

    // The colour picker's result: a colour, or -1 for no choice.
    std::int32_t PickedColor = 0;
};

} // namespace mivra
