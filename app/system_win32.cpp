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

} // namespace

std::wstring UserDateText::MonthYear(const Date& d) {
    // Windows formats no date before 1601; the grid reaches back to year 100,
    // so build those titles from the locale's month name.
    std::wstring s = Format(ToSystemTime(d), 0, L"MMMM yyyy");
    if (!s.empty()) return s;
    wchar_t name[80] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + d.Month() - 1, name, 80);
    std::wstring year = DecimalW(d.Year());
    year.insert(0, 4 - std::min<size_t>(4, year.size()), L'0');
    return std::wstring(name) + L" " + year;
}

std::wstring UserDateText::ShortDate(const Date& d) {
    std::wstring s = Format(ToSystemTime(d), DATE_SHORTDATE, nullptr);
    if (!s.empty()) return s;
    return DecimalW(d.Month()) + L"/" + DecimalW(d.Day()) + L"/" + DecimalW(d.Year());
}

} // namespace mivra
