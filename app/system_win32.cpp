#include "app/system_win32.h"

#include <windows.h>

#include <algorithm>

#include "base/decimal.h"

namespace mivra {

Date SystemClock::Today() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    if (auto d = Date::FromYmd(st.wYear, st.wMonth, st.wDay)) return *d;
    // The system allows years past 9999; the calendar does not.
    return st.wYear > 9999 ? Date::Last() : Date::First();
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

std::wstring Format(const SYSTEMTIME& st, DWORD flags, const wchar_t* picture) {
    wchar_t buf[128];
    const int n = GetDateFormatW(LOCALE_USER_DEFAULT, flags, &st, picture, buf, 128);
    return n > 1 ? std::wstring(buf, n - 1) : std::wstring();
}

std::wstring LocaleText(LCTYPE what) {
    wchar_t text[80] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, what, text, 80);
    return text;
}

std::wstring MonthName(const Date& d) {
    return LocaleText(LOCALE_SMONTHNAME1 + d.Month() - 1);
}

std::wstring FourDigitYear(const Date& d) {
    std::wstring year = DecimalW(d.Year());
    year.insert(0, 4 - std::min<size_t>(4, year.size()), L'0');
    return year;
}

} // namespace

// Windows formats no date before 1601, and the grid reaches back to year 100:
// those dates are built from the locale's month and day names.

std::wstring UserDateText::MonthYear(const Date& d) {
    std::wstring s = Format(ToSystemTime(d), 0, L"MMMM yyyy");
    if (!s.empty()) return s;
    return MonthName(d) + L" " + FourDigitYear(d);
}

std::wstring UserDateText::LongDate(const Date& d) {
    std::wstring s = Format(ToSystemTime(d), DATE_LONGDATE, nullptr);
    if (!s.empty()) return s;
    // The locale's day names start on Monday.
    const std::wstring day = LocaleText(LOCALE_SDAYNAME1 + (d.Weekday() + 6) % 7);
    return day + L", " + MonthName(d) + L" " + DecimalW(d.Day()) + L", " + FourDigitYear(d);
}

std::wstring UserDateText::ShortDate(const Date& d) {
    std::wstring s = Format(ToSystemTime(d), DATE_SHORTDATE, nullptr);
    if (!s.empty()) return s;
    return DecimalW(d.Month()) + L"/" + DecimalW(d.Day()) + L"/" + DecimalW(d.Year());
}

} // namespace mivra
