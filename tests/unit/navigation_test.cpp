#include <gtest/gtest.h>

#include "app/calendar_app.h"
#include "tests/support/app_fakes.h"

namespace mivra {
namespace {

using test::D;

class NavigationTest : public ::testing::Test, protected test::AppRig {
protected:
    void SetUp() override { app.Startup(); }

    void Show(int month, int year) {
        state.DisplayMonth = std::int16_t(month);
        state.DisplayYear = std::int16_t(year);
        app.RefreshCalendar();
    }
    std::pair<int, int> Shown() const { return {state.DisplayMonth, state.DisplayYear}; }

    // Holds a label for `ms` milliseconds: the timer ticks every 250 ms for
    // as long as it is enabled, like tmrButtonScroll.
    int Hold(LabelId id, int ms) {
        int refreshes = 0;
        app.OnMouseDown(id);
        for (int t = 250; t <= ms && window.scroll; t += 250) {
            const size_t before = tray.calls.size();
            app.OnButtonScrollTimer();
            refreshes += tray.calls.size() > before;
        }
        app.OnMouseUp(id);
        return refreshes;
    }
};

TEST_F(NavigationTest, StepsWrapAtTheYearsEnds) {
    Show(12, 2000);
    Hold(LabelId::lblMonthNext, 100);
    EXPECT_EQ(Shown(), std::make_pair(1, 2001));
    Show(1, 2000);
    Hold(LabelId::lblMonthPrev, 100);
    EXPECT_EQ(Shown(), std::make_pair(12, 1999));
    Show(5, 2000);
    Hold(LabelId::lblYearNext, 100);
    EXPECT_EQ(Shown(), std::make_pair(5, 2001));
    Show(2, 2000);
    Hold(LabelId::lblYearNext, 100);
    EXPECT_EQ(Shown(), std::make_pair(2, 2001));
    Hold(LabelId::lblYearPrev, 100);
    EXPECT_EQ(Shown(), std::make_pair(2, 2000));
    EXPECT_EQ(app.Label(LabelId::lblMonth).caption, L"February 2000");
}

TEST_F(NavigationTest, AHoldStepsOnPressThenEveryTick) {
    Show(2, 2000);
    const size_t before = tray.calls.size();
    Hold(LabelId::lblMonthPrev, 200); // shorter than one tick: one step
    EXPECT_EQ(Shown(), std::make_pair(1, 2000));
    EXPECT_EQ(tray.calls.size(), before + 1);

    Hold(LabelId::lblMonthPrev, 1010); // just over a second: five steps
    EXPECT_EQ(Shown(), std::make_pair(8, 1999));
    EXPECT_FALSE(window.scroll);
    EXPECT_EQ(app.CurrentButton, L"lblMonthPrev"); // a release leaves it
}

TEST_F(NavigationTest, PressedLookWhileHeldAndTheNameComparedIgnoringCase) {
    app.OnMouseDown(LabelId::lblYearNext);
    EXPECT_EQ(app.Label(LabelId::lblYearNext).fore, state.LabelColor);
    EXPECT_EQ(app.Label(LabelId::lblYearNext).back, state.CalendarColor);
    EXPECT_TRUE(window.scroll);
    app.OnMouseUp(LabelId::lblYearNext);
    EXPECT_EQ(app.Label(LabelId::lblYearNext).fore, state.CalendarColor);
    EXPECT_EQ(app.Label(LabelId::lblYearNext).back, state.LabelColor);
    EXPECT_FALSE(window.scroll);

    Show(3, 2000);
    app.CurrentButton = L"LBLMONTHNEXT";
    app.OnButtonScrollTimer();
    EXPECT_EQ(Shown(), std::make_pair(4, 2000));
    // An unknown name steps nowhere but still refreshes.
    app.CurrentButton = L"";
    const size_t before = tray.calls.size();
    app.OnButtonScrollTimer();
    EXPECT_EQ(Shown(), std::make_pair(4, 2000));
    EXPECT_EQ(tray.calls.size(), before + 1);
}

TEST_F(NavigationTest, TodayJumpsOnClickOnlyAndLeavesLastDate) {
    clock.now = D(2000, 10, 15);
    Show(3, 1990);
    app.OnMouseDown(LabelId::lblToday);
    EXPECT_EQ(app.Label(LabelId::lblToday).back, state.CalendarColor);
    EXPECT_FALSE(window.scroll);
    app.OnMouseUp(LabelId::lblToday); // released outside: no click follows
    EXPECT_EQ(app.Label(LabelId::lblToday).back, state.LabelColor);
    EXPECT_EQ(Shown(), std::make_pair(3, 1990));
    app.OnClick(LabelId::lblToday);
    EXPECT_EQ(Shown(), std::make_pair(10, 2000));
    const Date last = state.LastDate;
    clock.now = D(2000, 11, 1);
    app.OnClick(LabelId::lblToday);
    EXPECT_EQ(Shown(), std::make_pair(11, 2000));
    EXPECT_EQ(state.LastDate, last);
}

TEST_F(NavigationTest, StepsStopAtTheEndsOfTheRangeHeldOrClicked) {
    Show(3, 100);
    Hold(LabelId::lblMonthPrev, 2000);
    EXPECT_EQ(Shown(), std::make_pair(2, 100));
    Hold(LabelId::lblYearPrev, 100);
    EXPECT_EQ(Shown(), std::make_pair(2, 100));
    Show(6, 101);
    Hold(LabelId::lblYearPrev, 1000);
    EXPECT_EQ(Shown(), std::make_pair(6, 100));

    Show(10, 9999);
    Hold(LabelId::lblMonthNext, 2000);
    EXPECT_EQ(Shown(), std::make_pair(11, 9999));
    Hold(LabelId::lblYearNext, 100);
    EXPECT_EQ(Shown(), std::make_pair(11, 9999));
    Show(12, 9998);
    Hold(LabelId::lblYearNext, 100);
    EXPECT_EQ(Shown(), std::make_pair(12, 9998));
    EXPECT_EQ(app.Label(Day(41)).caption, L"9"); // 9 January 9999
}

} // namespace
} // namespace mivra
