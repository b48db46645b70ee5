// A calendar date of whole days, on the <chrono> calendar types, limited to
// the years the grid can show: 1 January 100 to 31 December 9999.
#pragma once

#include <chrono>
#include <compare>
#include <optional>

namespace mivra {

class Date {
public:
    // Day, month and year of a valid date; anything else has no Date.
    static std::optional<Date> FromYmd(int year, int month, int day);
    // The system's date kept in range: the system allows years past 9999
    // (the last day here) and before 100 (the first).
    static Date Nearest(int year, int month, int day);
    // The first supported day; arrays of dates start out holding it.
    constexpr Date() : days_(kFirstDay) {}

    static constexpr Date First() { return Date(); }
    static constexpr Date Last() { return Date(kLastDay); }

    int Year() const { return int(Ymd().year()); }
    int Month() const { return int(unsigned(Ymd().month())); }
    int Day() const { return int(unsigned(Ymd().day())); }
    // 0 = Sunday ... 6 = Saturday.
    int Weekday() const { return int(std::chrono::weekday(days_).c_encoding()); }

    // The date of a day count, or nothing outside the supported range.
    static std::optional<Date> FromSysDays(std::chrono::sys_days d) {
        if (d < kFirstDay || d > kLastDay) return std::nullopt;
        return Date(d);
    }

    // The date n days away, or nothing when that leaves the supported range.
    std::optional<Date> AddDays(int n) const;

    std::chrono::sys_days SysDays() const { return days_; }
    std::chrono::year_month_day Ymd() const { return std::chrono::year_month_day(days_); }

    friend auto operator<=>(const Date&, const Date&) = default;

private:
    static constexpr std::chrono::sys_days kFirstDay{std::chrono::year{100} / 1 / 1};
    static constexpr std::chrono::sys_days kLastDay{std::chrono::year{9999} / 12 / 31};

    explicit Date(std::chrono::year_month_day ymd) : days_(ymd) {}
    constexpr explicit Date(std::chrono::sys_days d) : days_(d) {}
    std::chrono::sys_days days_;
};

} // namespace mivra
