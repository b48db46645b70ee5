#include <gtest/gtest.h>

#include "app/calendar_app.h"
#include "tests/support/app_fakes.h"

namespace mivra {
namespace {

using test::D;

class NavigationTest : public ::testing::Test, protected test::AppRig {
protected:
    void SetUp() override { app.Startup(); }

    // Holds a label for `ms` milliseconds: the timer ticks every 250 ms for
    // as long as it is enabled, like tmrButtonScroll.
    void Hold(LabelId id, int ms) {
        app.OnMouseDown(id);
        for (int t = 250; t <= ms && window.scroll; t += 250)
            app.OnButtonScrollTimer();
        app.OnMouseUp(id);
    }

    // Holds a label from a month on show, a click's time unless it says,
    // and expects the month it leads to.
    struct Step {
        int month, year;
        LabelId held;
        std::pair<int, int> to;
        int ms = 100;
    };
    void ExpectSteps(std::initializer_list<Step> steps) {
        for (const Step& s : steps) {
            ShowMonth(s.month, s.year);
            Hold(s.held, s.ms);
            EXPECT_EQ(MonthShown(), s.to)
                << Design(s.held).name << " from " << s.month << "/" << s.year;
        }
    }
};

TEST_F(NavigationTest, StepsWrapAtTheYearsEnds) {
    using enum LabelId;
    ExpectSteps({{12, 2000, lblMonthNext, {1, 2001}},
                 {1, 2000, lblMonthPrev, {12, 1999}},
                 {5, 2000, lblYearNext, {5, 2001}},
                 {2, 2000, lblYearNext, {2, 2001}},
                 {2, 2001, lblYearPrev, {2, 2000}}});
    EXPECT_EQ(app.Label(LabelId::lblMonth).caption, L"February 2000");
}

TEST_F(NavigationTest, AHoldStepsOnPressThenEveryTick) {
    ShowMonth(2, 2000);
    const size_t before = tray.calls.size();
    Hold(LabelId::lblMonthPrev, 200); // shorter than one tick: one step
    EXPECT_EQ(MonthShown(), std::make_pair(1, 2000));
    EXPECT_EQ(tray.calls.size(), before + 1);

    Hold(LabelId::lblMonthPrev, 1010); // just over a second: five steps
    EXPECT_EQ(MonthShown(), std::make_pair(8, 1999));
    EXPECT_FALSE(window.scroll);
    EXPECT_EQ(app.CurrentButton, L"lblMonthPrev"); // a release leaves it
}

TEST_F(NavigationTest, PressedLookWhileHeldAndTheNameComparedIgnoringCase) {
    app.OnMouseDown(LabelId::lblYearNext);
    EXPECT_EQ(Look(LabelId::lblYearNext), std::pair(state.LabelColor, state.CalendarColor));
    EXPECT_TRUE(window.scroll);
    app.OnMouseUp(LabelId::lblYearNext);
    EXPECT_EQ(Look(LabelId::lblYearNext), std::pair(state.CalendarColor, state.LabelColor));
    EXPECT_FALSE(window.scroll);

    ShowMonth(3, 2000);
    app.CurrentButton = L"LBLMONTHNEXT";
    app.OnButtonScrollTimer();
    EXPECT_EQ(MonthShown(), std::make_pair(4, 2000));
    // An unknown name steps nowhere but still refreshes.
    app.CurrentButton = L"";
    const size_t before = tray.calls.size();
    app.OnButtonScrollTimer();
    EXPECT_EQ(MonthShown(), std::make_pair(4, 2000));
    EXPECT_EQ(tray.calls.size(), before + 1);
}

TEST_F(NavigationTest, TodayJumpsOnClickOnly) {
    clock.now = D(2000, 10, 15);
    ShowMonth(3, 1990);
    app.OnMouseDown(LabelId::lblToday);
    EXPECT_EQ(app.Label(LabelId::lblToday).back, state.CalendarColor);
    EXPECT_FALSE(window.scroll);
    app.OnMouseUp(LabelId::lblToday); // released outside: no click follows
    EXPECT_EQ(app.Label(LabelId::lblToday).back, state.LabelColor);
    EXPECT_EQ(MonthShown(), std::make_pair(3, 1990));
    app.OnClick(LabelId::lblToday);
    EXPECT_EQ(MonthShown(), std::make_pair(10, 2000));
}

TEST_F(NavigationTest, StepsStopAtTheEndsOfTheRangeHeldOrClicked) {
    using enum LabelId;
    ExpectSteps({{3, 100, lblMonthPrev, {2, 100}, 2000},
                 {2, 100, lblYearPrev, {2, 100}},
                 {6, 101, lblYearPrev, {6, 100}, 1000},
                 {10, 9999, lblMonthNext, {11, 9999}, 2000},
                 {11, 9999, lblYearNext, {11, 9999}},
                 {12, 9998, lblYearNext, {12, 9998}}});
    EXPECT_EQ(app.Label(Day(41)).caption, L"9"); // 9 January 9999
}

} // namespace
} // namespace mivra
