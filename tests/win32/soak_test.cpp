// Long runs of the real calendar window and its logic: many refreshes and
// paints, navigation through the window's own mouse and timer messages, and
// five years of midnights; the GDI objects and windows of the process must
// stay as they were, and the date must stay right across the turns where
// calendars go wrong.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "app/calendar_grid.h"
#include "app/system_win32.h"
#include "platform/label_paint_win32.h"
#include "tests/support/calendar_window_rig_win32.h"
#include "tests/support/dib_canvas_win32.h"
#include "tests/support/expected_grid.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/window_rects_win32.h"
#include "tray/icons_win32.h"

namespace mivra {
namespace {

// Refresh-and-paint cycles: a paint takes about a quarter of a millisecond
// under Wine, so the full hundred thousand take under half a minute.
constexpr int kRefreshCycles = 100000;
constexpr int kNavigationSteps = 20000;

using test::D;

namespace chr = std::chrono;

// The displayable months: the first and the last whose grid fits.
constexpr chr::year_month kFirstMonth = chr::year{100} / 2, kLastMonth = chr::year{9999} / 11;

chr::year_month_day Ymd(const Date& d) {
    return chr::year{d.Year()} / d.Month() / d.Day();
}

// ---- Counting what the process holds.

// Window enumeration callbacks are stdcall: on 32-bit Windows no lambda
// converts to one. Counts a window and, for a top-level one, its descendants.
BOOL CALLBACK CountWindows(HWND h, LPARAM lp) {
    ++*reinterpret_cast<long*>(lp);
    if (!(GetWindowLongW(h, GWL_STYLE) & WS_CHILD)) EnumChildWindows(h, CountWindows, lp);
    return TRUE;
}

// The GDI objects, then the USER objects, of this process. Where
// GetGuiResources does not answer (Wine gives 0): the objects the program's
// holders own, which is every object the program makes (scripts/check-layers
// checks that each creation goes into a holder); and the windows of this
// thread, top-level and child, and the icons the holders own, which is what
// this code could leak. Nothing here reads the system's private tables.
using Counts = std::pair<long, long>;
Counts Held() {
    Counts n{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
             GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
    if (!n.first)
        n.first = UniqueFont::Live() + UniqueBrush::Live() + UniquePen::Live() +
                  UniqueBitmap::Live() + UniqueMemoryDc::Live();
    if (!n.second) {
        n.second = UniqueIcon::Live();
        EnumThreadWindows(GetCurrentThreadId(), CountWindows, reinterpret_cast<LPARAM>(&n.second));
    }
    return n;
}

// The real window and logic with the real pictures and the locale's dates,
// on a settable clock, and a canvas of the window's size to paint it into.
struct Calendar : test::CalendarWindowRig {
    explicit Calendar(Date today) {
        created = Start(today, localText, pictures);
        if (!created) return;
        GetClientRect(window.Handle(), &area);
        canvas = std::make_unique<test::DibCanvas>(area.right, area.bottom);
        created = canvas->Ok();
    }
    ~Calendar() { Stop(); }
    // The minute's tick, on the given day.
    void TickOn(const Date& today) {
        clock.now = today;
        app->OnRefreshTimer();
    }
    void Paint() { window.PaintContent(canvas->Dc(), area); }

    UserDateText localText;
    Icons pictures{GetModuleHandleW(nullptr)};
    RECT area{};
    std::unique_ptr<test::DibCanvas> canvas;
    bool created = false; // and the canvas made
};

// ---- What the user would see.

// The month on show, its title and all 42 cells: captions and colours.
void ExpectMonth(const Calendar& c, chr::year_month ym, const Date& today) {
    const ModuleState& s = c.state;
    SCOPED_TRACE(testing::Message() << unsigned(ym.month()) << "/" << int(ym.year()));
    ASSERT_EQ(c.MonthShown(), std::pair(int(unsigned(ym.month())), int(ym.year())));
    const std::wstring& title = c.app->Label(LabelId::lblMonth).caption;
    wchar_t month[80] = {};
    EXPECT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + unsigned(ym.month()) - 1,
                             month, 80),
              0);
    EXPECT_NE(title.find(month), std::wstring::npos) << title.c_str();
    EXPECT_NE(title.find(std::to_wstring(int(ym.year()))), std::wstring::npos) << title.c_str();

    const auto cells = test::ExpectedGrid(ym);
    for (int i = 0; i < kGridCells; ++i) {
        const LabelState& l = c.app->Label(Day(i));
        ASSERT_EQ(l.caption, std::to_wstring(unsigned(cells[i].day()))) << "cell " << i;
        const bool isToday = cells[i] == Ymd(today);
        const Color fore = isToday                          ? s.CalendarColor
                           : cells[i].month() != ym.month() ? s.OtherMonthTextColor
                           : i % 7 == 0                     ? s.LabelColor
                                                            : s.DayTextColor;
        ASSERT_EQ(l.fore, fore) << "cell " << i;
        ASSERT_EQ(l.back, isToday ? s.LabelColor : s.CalendarColor) << "cell " << i;
    }
}

// Everything that follows the date: the state, the month, the tray picture
// and the jump-to-today tip.
void ExpectToday(Calendar& c, const Date& today) {
    EXPECT_EQ(c.state.LastDate, today);
    ExpectMonth(c, chr::year{today.Year()} / today.Month(), today);
    EXPECT_EQ(c.tray.calls.back().op, NotifyOp::Modify);
    EXPECT_EQ(c.tray.calls.back().record.hIcon,
              reinterpret_cast<std::uintptr_t>(c.pictures.ForDay(today.Day())));
    EXPECT_NE(c.tray.calls.back().record.hIcon, 0u);
    EXPECT_EQ(c.app->Label(LabelId::lblToday).tooltip,
              L"Jump to Today (" + test::WindowsShortDate(today) + L")");
}

// Paints the window and checks the pixels against the model: the black frame,
// and the ground of every day cell in its label's back colour.
void PaintAndCheck(Calendar& c) {
    const test::DibCanvas& s = *c.canvas;
    SetLastError(0);
    c.Paint();
    ASSERT_TRUE(GdiFlush());
    ASSERT_EQ(GetLastError(), 0u) << "a call in the paint failed";
    ASSERT_EQ(s.At(0, 0), RGB(0, 0, 0));
    for (int i = 0; i < kGridCells; ++i) {
        const RECT r = c.window.LabelRect(Day(i));
        ASSERT_EQ(s.At(r.left + 2, r.bottom - 3), ResolveColor(c.app->Label(Day(i)).back))
            << "cell " << i;
    }
}

// Every `often`th time the month on show and the pixels are checked; the
// other times the window is only painted, as the user would see it.
void CheckEvery(int often, int i, Calendar& c, chr::year_month ym) {
    if (i % often != 0) return c.Paint();
    ASSERT_NO_FATAL_FAILURE(ExpectMonth(c, ym, c.clock.now));
    PaintAndCheck(c);
}

TEST(Soak, RefreshAndPaintAcrossTheWholeRangeHoldNoNewObjects) {
    Calendar c(D(2000, 10, 15));
    ASSERT_TRUE(c.created);

    // Warm up: fonts and the symbol check are made on the first paints.
    for (int i = 0; i < 3; ++i) {
        c.app->RefreshCalendar();
        PaintAndCheck(c);
    }
    const Counts before = Held();
    ASSERT_GT(before.first, 0);
    ASSERT_GT(before.second, 0);

    // Month after month from the first displayable one, wrapping at the last,
    // so titles before 1601 (which Windows will not format) come by too.
    const char* const set = std::getenv("MIVRA_SOAK_CYCLES");
    const int cycles = set ? std::max(1, std::atoi(set)) : kRefreshCycles;
    chr::year_month ym = kFirstMonth;
    for (int i = 0; i < cycles; ++i) {
        c.state.DisplayYear = static_cast<std::int16_t>(int(ym.year()));
        c.state.DisplayMonth = static_cast<std::int16_t>(unsigned(ym.month()));
        c.app->RefreshCalendar();
        ASSERT_NO_FATAL_FAILURE(CheckEvery(1000, i, c, ym)) << "cycle " << i;
        if (i % 1000 == 0) {
            ASSERT_EQ(Held(), before) << "cycle " << i;
        }
        ym = ym == kLastMonth ? kFirstMonth : ym + chr::months(1);
    }
    ASSERT_TRUE(GdiFlush());
    EXPECT_EQ(Held(), before);
    EXPECT_EQ(c.tray.Count(NotifyOp::Add), 1);
    EXPECT_GE(c.tray.Count(NotifyOp::Modify), cycles);
}

TEST(Soak, NavigationThroughMouseAndTimerMessagesStopsAtTheEndsAndLeaksNothing) {
    Calendar c(D(2000, 10, 15));
    ASSERT_TRUE(c.created);
    PaintAndCheck(c);

    using Step = std::pair<LabelId, int>; // the label and the months it steps
    const Step next{LabelId::lblMonthNext, 1}, prev{LabelId::lblMonthPrev, -1},
        yearNext{LabelId::lblYearNext, 12}, yearPrev{LabelId::lblYearPrev, -12};
    chr::year_month expected = chr::year{2000} / 10;
    int steps = 0;
    auto step = [&](const Step& st) {
        // At the ends of the range a step leaves the month where it is.
        const chr::year_month to = expected + chr::months(st.second);
        if (to >= kFirstMonth && to <= kLastMonth) expected = to;
        ++steps;
    };

    // One press is the immediate step and three repeats of the 250 ms timer.
    // Its id is learnt from the first real tick, then the ticks are sent.
    UINT_PTR scrollTimer = 0;
    auto press = [&](const Step& st) {
        const LPARAM at = test::AtMiddle(c.window.LabelRect(st.first));
        SendMessageW(c.h, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ASSERT_EQ(GetCapture(), c.h);
        step(st);
        ASSERT_EQ(c.app->Label(st.first).back, c.state.CalendarColor) << "pressed look";
        for (int t = 0; t < 3; ++t) {
            if (!scrollTimer) {
                MSG msg{};
                const DWORD end = GetTickCount() + 3000;
                while (GetTickCount() < end &&
                       !PeekMessageW(&msg, c.h, WM_TIMER, WM_TIMER, PM_REMOVE))
                    Sleep(5);
                ASSERT_EQ(msg.message, UINT(WM_TIMER)) << "the repeat timer never ticked";
                scrollTimer = msg.wParam;
                DispatchMessageW(&msg);
            } else {
                SendMessageW(c.h, WM_TIMER, scrollTimer, 0);
            }
            step(st);
        }
        SendMessageW(c.h, WM_LBUTTONUP, 0, at);
        ASSERT_EQ(GetCapture(), nullptr);
        ASSERT_EQ(c.app->Label(st.first).back, c.state.LabelColor) << "resting look";
        ASSERT_EQ(c.MonthShown(), std::pair(int(unsigned(expected.month())), int(expected.year())))
            << "after " << steps << " steps";
    };

    const Counts before = Held();
    const Step cycle[] = {next, prev, yearNext, yearPrev};
    int presses = 0;
    auto run = [&](int count, auto pick) {
        for (int i = 0; i < count; ++i, ++presses) {
            ASSERT_NO_FATAL_FAILURE(press(pick(i)));
            ASSERT_NO_FATAL_FAILURE(CheckEvery(50, presses, c, expected));
            ASSERT_TRUE(presses % 500 != 0 || Held() == before) << "press " << presses;
        }
    };
    // A quarter there and back, a quarter down past the first year, which
    // holds at year 100, and back up.
    const int quarter = kNavigationSteps / 4 / 4;
    ASSERT_NO_FATAL_FAILURE(run(2 * quarter, [&](int i) { return cycle[i % 4]; }));
    ASSERT_NO_FATAL_FAILURE(run(quarter, [&](int) { return yearPrev; }));
    EXPECT_EQ(c.state.DisplayYear, 100);
    ASSERT_NO_FATAL_FAILURE(run(quarter, [&](int) { return yearNext; }));
    EXPECT_EQ(steps, kNavigationSteps);

    // Released, the repeat stays stopped.
    const auto shown = c.MonthShown();
    test::PumpFor(400);
    EXPECT_EQ(c.MonthShown(), shown);
    ASSERT_TRUE(GdiFlush());
    EXPECT_EQ(Held(), before);
}

TEST(Soak, FiveYearsOfMidnightsMoveTheDateIconAndTipEachDay) {
    Calendar c(D(2023, 12, 30));
    ASSERT_TRUE(c.created);
    // The set holds two pictures at most, the one shown and the one before
    // it: count from the first midnight on.
    c.TickOn(D(2023, 12, 31));
    ExpectToday(c, D(2023, 12, 31));
    PaintAndCheck(c);
    const Counts before = Held();

    std::uintptr_t shown = c.tray.calls.back().record.hIcon;
    int days = 0, leapDays = 0;
    for (Date d = D(2024, 1, 1); d <= D(2029, 1, 1); d = *d.AddDays(1), ++days) {
        // Minutes of the old day first: nothing may move.
        c.app->OnRefreshTimer();
        ASSERT_EQ(c.state.LastDate, c.clock.now);
        c.TickOn(d);
        ASSERT_NO_FATAL_FAILURE(ExpectToday(c, d))
            << d.Year() << "-" << d.Month() << "-" << d.Day();
        ASSERT_NO_FATAL_FAILURE(PaintAndCheck(c));
        const auto grid = test::ExpectedGrid(chr::year{d.Year()} / d.Month());
        const int cell = int(std::find(grid.begin(), grid.end(), Ymd(d)) - grid.begin());
        // Its cell carries the caption in the text colour, inside the border.
        RECT inside = c.window.LabelRect(Day(cell));
        InflateRect(&inside, -1, -1);
        ASSERT_TRUE(c.canvas->Holds(inside, ResolveColor(c.state.CalendarColor)))
            << "today's caption";
        // A new picture each day; the one the shell had until now lives on
        // until the next.
        ASSERT_GT(test::IconSize(reinterpret_cast<HICON>(shown)), 0);
        shown = c.tray.calls.back().record.hIcon;
        ASSERT_LE(UniqueIcon::Live(), 2);
        if (d.Month() == 2 && d.Day() == 29) ++leapDays;
    }
    EXPECT_EQ(days, 5 * 365 + 2 + 1); // 2024 to 2028, and the next new year's day
    EXPECT_EQ(leapDays, 2);           // 2024 and 2028
    ASSERT_TRUE(GdiFlush());
    EXPECT_EQ(Held(), before);
}

TEST(Soak, DateStaysRightAcrossMidnightMonthEndLeapDaysClockSetBackAndResume) {
    Calendar c(D(2000, 10, 15));
    ASSERT_TRUE(c.created);
    ExpectToday(c, D(2000, 10, 15));

    // Midnight while the user looks at another month: the same day keeps
    // their month; the new day brings the calendar to it.
    c.state.DisplayMonth = 3;
    c.state.DisplayYear = 2001;
    c.app->OnRefreshTimer();
    ExpectMonth(c, chr::year{2001} / 3, D(2000, 10, 15));
    c.TickOn(D(2000, 10, 16));
    ExpectToday(c, D(2000, 10, 16));

    // Month and year ends; 29 February where it exists, and not in 2100,
    // which is no leap year.
    for (const Date& d : {D(2001, 1, 31), D(2001, 2, 1), D(2001, 12, 31), D(2002, 1, 1),
                          D(2001, 4, 30), D(2001, 5, 1), D(2024, 2, 28), D(2024, 2, 29),
                          D(2024, 3, 1), D(2100, 2, 28), D(2100, 3, 1)}) {
        c.TickOn(d);
        ExpectToday(c, d); // the 29th's picture on the 29th among all
    }

    // The system tells of a change and the window follows at once: the clock
    // set back, then forward over a month end; a resume after a sleep over
    // two days and a year end.
    const std::tuple<Date, UINT, WPARAM> changes[] = {
        {D(2023, 11, 5), WM_TIMECHANGE, 0},
        {D(2023, 12, 2), WM_TIMECHANGE, 0},
        {D(2024, 1, 1), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
        {D(2024, 1, 3), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND}};
    for (const auto& [day, msg, wp] : changes) {
        c.clock.now = day;
        // A resume is answered as handled.
        EXPECT_TRUE(SendMessageW(c.h, msg, wp, 0) == TRUE || msg != WM_POWERBROADCAST);
        ExpectToday(c, day);
    }
    // Going to sleep changes nothing.
    c.clock.now = D(2024, 1, 4);
    SendMessageW(c.h, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_EQ(c.state.LastDate, D(2024, 1, 3));
}

} // namespace
} // namespace mivra
