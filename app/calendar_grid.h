// The month grid: six weeks from the latest Sunday strictly before the 1st.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "app/date.h"

namespace mivra {

inline constexpr int kGridCells = 42;

// Day 1 of the month, or nothing when month or year are out of range.
std::optional<Date> FirstOfMonth(std::int16_t month, std::int16_t year);

// The 42 cell dates, or nothing when any of them would leave the range of dates.
std::optional<std::array<Date, kGridCells>> GridDates(std::int16_t month, std::int16_t year);

// Months whose whole grid lies inside the range of dates: February 100 to
// November 9999. Navigation stops at these ends.
struct YearMonth {
    std::int16_t month;
    std::int16_t year;
    friend bool operator==(const YearMonth&, const YearMonth&) = default;
    // Chronological: the year decides first.
    friend auto operator<=>(const YearMonth& a, const YearMonth& b) {
        if (auto c = a.year <=> b.year; c != 0) return c;
        return a.month <=> b.month;
    }
};
inline constexpr YearMonth kFirstDisplayable{2, 100};
inline constexpr YearMonth kLastDisplayable{11, 9999};

bool IsDisplayable(YearMonth m);
// The displayable month nearest to m (m itself when displayable).
YearMonth ClampDisplayable(YearMonth m);

// How a cell is coloured.
enum class CellKind : std::uint8_t {
    Weekday,    // a day of the displayed month, Monday to Saturday
    Sunday,     // a Sunday of the displayed month
    OtherMonth, // a day of the previous or next month
    Today,      // the current date, wherever it stands
};

CellKind ClassifyCell(int index, const Date& d, int displayMonth, const Date& today);

} // namespace mivra
