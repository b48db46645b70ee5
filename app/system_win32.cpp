#include "app/system_win32.h"

#include <windows.h>

#include <algorithm>
#include <initializer_list>

#include "base/decimal.h"

namespace mivra {

Date SystemClock::Today() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return Date::Nearest(st.wYear, st.wMonth, st.wDay);
}

namespace {

SYSTEMTIME ToSystemTime(const Date& d) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(d.Year());
    st.wMonth = static_cast<WORD>(d.Month());
    st.wDay = static_cast<WORD>(d.Day());
    st.wDayOfWeek = static_cast<WORD>(d.Weekday());
    return st;
}

std::wstring GregorianMonthName(const wchar_t* locale, int month) {
    wchar_t name[80] = {};
    const CALTYPE which = CAL_SMONTHNAME1 + static_cast<CALTYPE>(month - 1);
    // The localized Gregorian calendar, not the user's: a Thai, Hijri or era
    // calendar would name another month or year than the grid shows. A locale
    // without one gets the English names.
    for (const wchar_t* from : {locale, LOCALE_NAME_INVARIANT})
        if (GetCalendarInfoEx(from, CAL_GREGORIAN, nullptr, which, name, 80, nullptr) > 1)
            return name;
    return DecimalW(month);
}

std::wstring FourDigitYear(const Date& d) {
    std::wstring year = DecimalW(d.Year());
    year.insert(0, 4 - std::min<size_t>(4, year.size()), L'0');
    return year;
}

} // namespace

const wchar_t* UserDateText::Locale() const {
    return locale_.empty() ? LOCALE_NAME_USER_DEFAULT : locale_.c_str();
}

std::wstring UserDateText::MonthYear(const Date& d) {
    return GregorianMonthName(Locale(), d.Month()) + L" " + FourDigitYear(d);
}

std::wstring UserDateText::LongDate(const Date& d) {
    wchar_t buf[128];
    const SYSTEMTIME st = ToSystemTime(d);
    const int n = GetDateFormatEx(Locale(), DATE_LONGDATE, &st, nullptr, buf, 128, nullptr);
    if (n > 1) return std::wstring(buf, n - 1);
    // Windows formats no date before 1601, and the grid reaches back to year
    // 100: those dates are built from the locale's day and month names. The
    // day names start on Monday.
    wchar_t day[80] = {};
    GetLocaleInfoEx(Locale(), LOCALE_SDAYNAME1 + (d.Weekday() + 6) % 7, day, 80);
    return std::wstring(day) + L", " + GregorianMonthName(Locale(), d.Month()) + L" " +
           DecimalW(d.Day()) + L", " + FourDigitYear(d);
}

std::wstring UserDateText::ShortDate(const Date& d) {
    wchar_t buf[128];
    const SYSTEMTIME st = ToSystemTime(d);
    const int n = GetDateFormatEx(Locale(), DATE_SHORTDATE, &st, nullptr, buf, 128, nullptr);
    if (n > 1) return std::wstring(buf, n - 1);
    // Windows formats no date before 1601.
    return DecimalW(d.Month()) + L"/" + DecimalW(d.Day()) + L"/" + DecimalW(d.Year());
}

} // namespace mivra
