#include <gtest/gtest.h>

#include "app/calendar_grid.h"
#include "app/date.h"
#include "tests/support/app_fakes.h"

namespace mivra {
namespace {

using test::D;

TEST(DateTest, RangeAndArithmetic) {
    // Outside the range, and days and months that do not exist.
    constexpr int kNoDates[][3] = {{99, 12, 31}, {10000, 1, 1}, {2001, 2, 29}, {2000, 13, 1},
                                   {2000, 0, 1}, {2000, 1, 0},  {2000, 1, 32}};
    for (const auto& [y, m, d] : kNoDates)
        EXPECT_FALSE(Date::FromYmd(y, m, d)) << y << "-" << m << "-" << d;
    EXPECT_TRUE(Date::FromYmd(2000, 2, 29));
    // The system's clock, which may stand past either end, kept in range.
    EXPECT_EQ(Date::Nearest(10000, 1, 1), Date::Last());
    EXPECT_EQ(Date::Nearest(99, 12, 31), Date::First());
    EXPECT_EQ(Date::Nearest(2000, 2, 29), D(2000, 2, 29));
    EXPECT_EQ(Date::First(), D(100, 1, 1));
    EXPECT_EQ(Date::Last(), D(9999, 12, 31));
    EXPECT_FALSE(Date::First().AddDays(-1));
    EXPECT_FALSE(Date::Last().AddDays(1));
    EXPECT_FALSE(Date::First().AddDays(INT32_MIN));
    EXPECT_FALSE(Date::Last().AddDays(INT32_MAX));
    EXPECT_EQ(D(2000, 2, 28).AddDays(1), D(2000, 2, 29));
    EXPECT_EQ(D(1999, 12, 31).AddDays(1), D(2000, 1, 1));
    // Weekdays count from Sunday.
    EXPECT_EQ(D(2000, 10, 1).Weekday(), 0);
    EXPECT_EQ(D(2000, 1, 1).Weekday(), 6);
    EXPECT_EQ(D(2026, 12, 7).Weekday(), 1);
}

struct GridCase {
    int month, year;
    Date firstCell;
    int cellOfFirst;
    Date lastCell;
};

TEST(GridTest, EdgeMonthsStartOnTheSundayBeforeTheFirst) {
    const GridCase cases[] = {
        {10, 2000, D(2000, 9, 24), 7, D(2000, 11, 4)}, // the 1st is a Sunday
        {1, 2000, D(1999, 12, 26), 6, D(2000, 2, 5)},  // the 1st is a Saturday
        {2, 2009, D(2009, 1, 25), 7, D(2009, 3, 7)},   // 28 days from a Sunday
        {12, 2001, D(2001, 11, 25), 6, D(2002, 1, 5)}, // the year changes inside
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.year));
        const auto cells = GridDates(std::int16_t(c.month), std::int16_t(c.year));
        ASSERT_TRUE(cells);
        EXPECT_EQ((*cells)[0], c.firstCell);
        EXPECT_EQ((*cells)[c.cellOfFirst], D(c.year, c.month, 1));
        EXPECT_EQ((*cells)[41], c.lastCell);
        for (int i = 1; i < 42; ++i)
            EXPECT_EQ((*cells)[i - 1].AddDays(1), (*cells)[i]);
    }
}

TEST(GridTest, CellKindsFollowMonthSundayAndToday) {
    const auto cells = *GridDates(1, 2000);
    const Date farAway = D(1990, 1, 1);
    // Cells 0-5 December, 6-36 January, 37-41 February.
    for (int i = 0; i < 42; ++i)
        EXPECT_EQ(ClassifyCell(i, cells[i], 1, farAway), i < 6 || i > 36 ? CellKind::OtherMonth
                                                         : i % 7 == 0    ? CellKind::Sunday
                                                                         : CellKind::Weekday)
            << i;
    // Today is marked even in a neighbouring month's cell, and only there.
    int marked = 0;
    for (int i = 0; i < 42; ++i)
        marked += ClassifyCell(i, cells[i], 1, D(2000, 2, 3)) == CellKind::Today;
    EXPECT_EQ(marked, 1);
    EXPECT_EQ(ClassifyCell(39, cells[39], 1, D(2000, 2, 3)), CellKind::Today);
    // A Sunday of the previous month is grey, not the Sunday accent.
    const auto oct = *GridDates(10, 2000);
    EXPECT_EQ(ClassifyCell(0, oct[0], 10, farAway), CellKind::OtherMonth);
    EXPECT_EQ(ClassifyCell(7, oct[7], 10, farAway), CellKind::Sunday);
}

TEST(GridTest, EveryDisplayableMonthBuildsAValidGridAndAClampKeepsTheMonthInTheRange) {
    int months = 0;
    for (int y = 100; y <= 9999; ++y) {
        for (int m = 0; m <= 13; ++m) { // and the months before and after, which are none
            const YearMonth ym{std::int16_t(m), std::int16_t(y)};
            const auto cells = GridDates(ym.month, ym.year);
            ASSERT_EQ(bool(cells), IsDisplayable(ym)) << m << "/" << y;
            if (!cells) continue;
            ++months;
            const auto back = (FirstOfMonth(ym.month, ym.year)->SysDays() - (*cells)[0].SysDays());
            if ((*cells)[0].Weekday() != 0 || back.count() < 1 || back.count() > 7)
                FAIL() << "grid of " << m << "/" << y << " starts " << back.count() << " days back";
        }
    }
    // February 100 to November 9999.
    EXPECT_EQ(months, (9999 - 100 + 1) * 12 - 2);

    // A month out of the range is brought to the nearest end.
    EXPECT_EQ(ClampDisplayable({1, 100}), kFirstDisplayable);
    EXPECT_EQ(ClampDisplayable({12, 9999}), kLastDisplayable);
    EXPECT_EQ(ClampDisplayable({5, -3}), kFirstDisplayable);
    EXPECT_EQ(ClampDisplayable({0, 2000}), (YearMonth{1, 2000}));
    EXPECT_EQ(ClampDisplayable({13, 2000}), (YearMonth{12, 2000}));
    EXPECT_EQ(ClampDisplayable({6, 2000}), (YearMonth{6, 2000}));
    EXPECT_FALSE(FirstOfMonth(13, 2000));
    EXPECT_FALSE(FirstOfMonth(1, 99));
}

} // namespace
} // namespace mivra
