// Dates as text through the real locale functions, for locales whose own
// calendar is not the Gregorian one the grid follows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/date.h"
#include "app/system_win32.h"
#include "tests/support/calendar_window_rig_win32.h"

namespace mivra {
namespace {

using test::D;

TEST(UserDateText, TheTitleNamesTheGregorianMonthAndYearWhateverTheCalendar) {
    const Date d = D(2026, 12, 7);
    // Thai Buddhist (year 2569), Hijri Umm al-Qura and Japanese-era locales,
    // and languages whose month names have a genitive form.
    for (auto [locale, title] :
         {std::pair(L"th-TH", L"\x0E18\x0E31\x0E19\x0E27\x0E32\x0E04\x0E21 2026"),
          {L"ar-SA", L"\x062F\x064A\x0633\x0645\x0628\x0631 2026"},
          {L"ja-JP", L"12\x6708 2026"},
          {L"ru-RU", L"\x0434\x0435\x043A\x0430\x0431\x0440\x044C 2026"},
          {L"pl-PL", L"grudzie\x0144 2026"},
          {L"en-US", L"December 2026"}}) {
        UserDateText text(locale);
        EXPECT_EQ(text.MonthYear(d), title) << locale;
        // The tip's short date keeps the locale's own format.
        EXPECT_EQ(text.ShortDate(d), test::WindowsShortDate(d, locale)) << locale;
    }
    // A locale Windows does not know names the months in English.
    EXPECT_EQ(UserDateText(L"xx-NOWHERE").MonthYear(d), L"December 2026");
    // Four digits for the years Windows does not format at all.
    EXPECT_EQ(UserDateText(L"en-US").MonthYear(D(100, 3, 1)), L"March 0100");
    EXPECT_EQ(UserDateText(L"en-US").ShortDate(D(100, 3, 1)), L"3/1/100");
}

} // namespace
} // namespace mivra
