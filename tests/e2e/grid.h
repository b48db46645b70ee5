// Reading the calendar off the screen: the grid a month must show, worked
// out independently of the program, and where its labels are.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <vector>

#include "harness.h"
#include "tests/support/expected_grid.h"

namespace mivra::e2e {

namespace chr = std::chrono;

inline const Rgb kCyan{0, 128, 128}, kWhite{255, 255, 255}, kBlack{0, 0, 0},
    kLightGrey{192, 192, 192}, kRed{255, 0, 0}, kBlue{0, 0, 255};

inline chr::year_month_day LocalToday() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return chr::year{tm.tm_year + 1900} / chr::month(unsigned(tm.tm_mon + 1)) /
           chr::day(unsigned(tm.tm_mday));
}

inline chr::year_month ThisMonth() {
    const auto today = LocalToday();
    return today.year() / today.month();
}

inline Rect Cell(const WindowInfo& w, int i, int dpi = 96) {
    const int l = 24 + 360 * (i % 7), t = 552 + 360 * (i / 7);
    // Inside the border and clear of the neighbours' overlap.
    return {w.left + Px(l, dpi) + 2, w.top + Px(t, dpi) + 2, w.left + Px(l + 372, dpi) - 2,
            w.top + Px(t + 372, dpi) - 2};
}

enum class Seen { InMonth, Sunday, Other, Today, Unknown };
inline Seen ReadCell(const Screenshot& s, const WindowInfo& w, int i, int dpi) {
    const Rect c = Cell(w, i, dpi);
    const int area = c.Area();
    if (s.Count(c, kCyan) > area / 2) return Seen::Today;
    if (s.Count(c, kWhite) < area / 2) return Seen::Unknown;
    if (s.Count(c, kCyan) >= 3) return Seen::Sunday;
    if (s.Count(c, kBlack) >= 3) return Seen::InMonth;
    if (s.Count(c, kLightGrey) >= 3) return Seen::Other;
    return Seen::Unknown;
}

// Whether the grid on screen is the given month, cell by cell, with its
// colours: in-month weekdays black, in-month Sundays cyan, neighbours grey,
// today marked.
inline ::testing::AssertionResult ShowsMonth(const Screenshot& s, const WindowInfo& w,
                                             chr::year_month ym, int dpi = 96) {
    const auto today = LocalToday();
    const auto cells = test::ExpectedGrid(ym);
    for (int i = 0; i < 42; ++i) {
        Seen want = cells[i].month() != ym.month() ? Seen::Other
                    : i % 7 == 0                   ? Seen::Sunday
                                                   : Seen::InMonth;
        if (cells[i] == today) want = Seen::Today;
        const Seen got = ReadCell(s, w, i, dpi);
        if (got != want)
            return ::testing::AssertionFailure()
                   << "cell " << i << ": saw " << int(got) << ", wanted " << int(want);
    }
    return ::testing::AssertionSuccess();
}

// Which month, counted from `from`, the grid shows now; -1 if none of 0..30.
inline int MonthsShownAfter(const WindowInfo& w, chr::year_month from) {
    const Screenshot s = Screenshot::Take();
    for (int k = 0; k <= 30; ++k)
        if (ShowsMonth(s, w, from + chr::months(k))) return k;
    return -1;
}

// Waits until the grid shows the month; a step repaints at once, but the
// screenshot may come a frame early.
inline ::testing::AssertionResult WaitForMonth(const WindowInfo& w, chr::year_month ym,
                                               int dpi = 96) {
    return Eventually([&] { return ShowsMonth(Screenshot::Take(), w, ym, dpi); });
}

// A label's centre on screen, from its design rectangle in twips.
inline Point Label(const WindowInfo& w, int l, int t, int width, int height, int dpi = 96) {
    return {w.left + (Px(l, dpi) + Px(l + width, dpi)) / 2,
            w.top + (Px(t, dpi) + Px(t + height, dpi)) / 2};
}
inline Point Title(const WindowInfo& w) {
    return Label(w, 24, 24, 2532, 348);
}
// The "x" that ends the program.
inline Point Quit(const WindowInfo& w) {
    return Label(w, 2352, 36, 192, 192);
}
// The button row: column 0 hide ... 6 about.
inline Point Button(const WindowInfo& w, int column) {
    return Label(w, 24 + 360 * column, 2736, 372, 324);
}
// Where the title's text lies, some pixels either side of its centre.
inline Rect AroundTitle(const WindowInfo& w) {
    const Point c = Title(w);
    return {c.x - 60, c.y - 8, c.x + 60, c.y + 8};
}

} // namespace mivra::e2e
