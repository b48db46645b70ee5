#include "app/calendar_grid.h"

namespace mivra {

std::optional<Date> FirstOfMonth(std::int16_t month, std::int16_t year) {
    return Date::FromYmd(year, month, 1);
}

std::optional<std::array<Date, kGridCells>> GridDates(std::int16_t month, std::int16_t year) {
    const auto first = FirstOfMonth(month, year);
    if (!first) return std::nullopt;
    // Always step back at least one day: a month starting on Sunday shows
    // the whole previous week in the top row.
    const int back = first->Weekday() == 0 ? 7 : first->Weekday();
    const auto start = first->AddDays(-back);
    if (!start || !start->AddDays(kGridCells - 1)) return std::nullopt;
    std::array<Date, kGridCells> cells{};
    for (int c = 0; c < kGridCells; ++c)
        cells[c] = *Date::FromSysDays(start->SysDays() + std::chrono::days{c});
    return cells;
}

bool IsDisplayable(YearMonth m) {
    return m.month >= 1 && m.month <= 12 && m >= kFirstDisplayable && m <= kLastDisplayable;
}

YearMonth ClampDisplayable(YearMonth m) {
    if (m.month < 1) m.month = 1;
    if (m.month > 12) m.month = 12;
    if (m < kFirstDisplayable) return kFirstDisplayable;
    if (m > kLastDisplayable) return kLastDisplayable;
    return m;
}

CellKind ClassifyCell(int index, const Date& d, int displayMonth, const Date& today) {
    if (d == today) return CellKind::Today;
    // Forty-two days never reach another month with the same number.
    if (d.Month() != displayMonth) return CellKind::OtherMonth;
    return index % 7 == 0 ? CellKind::Sunday : CellKind::Weekday;
}

} // namespace mivra
