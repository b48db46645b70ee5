#include "app/date.h"

namespace mivra {

std::optional<Date> Date::FromYmd(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year{year},
                                          std::chrono::month{unsigned(month)},
                                          std::chrono::day{unsigned(day)}};
    if (!ymd.ok()) return std::nullopt;
    return FromSysDays(std::chrono::sys_days(ymd));
}

Date Date::Nearest(int year, int month, int day) {
    if (auto d = FromYmd(year, month, day)) return *d;
    return year > 9999 ? Last() : First();
}

std::optional<Date> Date::AddDays(int n) const {
    // Count in long long so no step can overflow before the range check.
    const long long target = static_cast<long long>(days_.time_since_epoch().count()) + n;
    if (target < kFirstDay.time_since_epoch().count() ||
        target > kLastDay.time_since_epoch().count())
        return std::nullopt;
    return Date(std::chrono::sys_days{std::chrono::days{target}});
}

} // namespace mivra
