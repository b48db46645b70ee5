// The calendar window as a screen reader presents it: every label in reading
// order, with a role, a name and the state a sighted user reads from colour.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/calendar_layout.h"

namespace mivra {

class CalendarApp;

enum class ReaderRole : std::uint8_t { Button, Text, Cell };

struct ReaderLabel {
    ReaderRole role = ReaderRole::Text;
    std::wstring name;
    std::wstring description;
    bool today = false;      // the cell marked as the current date
    bool otherMonth = false; // a day of the month before or after
};

// Buttons are named by their tooltips (their captions are glyphs and
// arrows), days by their whole date in the user's long format, the rest by
// their captions.
ReaderLabel DescribeLabel(const CalendarApp& app, LabelId id);

} // namespace mivra
