#include <gtest/gtest.h>

#include <tuple>

#include "app/calendar_app.h"
#include "app/calendar_reader.h"
#include "tests/support/app_fakes.h"

namespace mivra {
namespace {

using test::D;
using Ops = std::vector<NotifyOp>;
using Colours = std::pair<Color, Color>; // text, ground

constexpr Color kCyan = 0x00808000, kWhite = 0x00FFFFFF, kBlack = 0, kGrey = 0x00C0C0C0;

class CalendarAppTest : public ::testing::Test, protected test::AppRig {
protected:
    const LabelState& Cell(int i) const { return app.Label(Day(i)); }
    // The whole record of the icon: size, window, id, flags, callback and picture.
    static void ExpectRecord(const NotifyRecord& r, std::uintptr_t picture) {
        EXPECT_EQ(std::tuple(r.cbSize, r.hWnd, r.uID, r.uFlags, r.uCallbackMessage, r.hIcon),
                  std::tuple(88u, std::uintptr_t{0x4242}, 1u, 7u, 512u, picture));
    }
    // The shell shows the icon once and nothing is being retried.
    void ExpectIconShownOnce() const {
        EXPECT_EQ(std::tuple(window.trayRetry, tray.icons.size(), tray.refusedAdds),
                  std::tuple(false, std::size_t{1}, 0));
    }
};

TEST_F(CalendarAppTest, StartupRunsItsStepsInOrderAndStaysHidden) {
    StartOn(D(2000, 10, 31));

    EXPECT_EQ(std::tuple(state.DayTextColor, state.OtherMonthTextColor, state.DefaultLabelColor,
                         state.DefaultCalendarColor),
              std::tuple(kBlack, kGrey, kCyan, kWhite));
    EXPECT_EQ(MonthShown(), std::pair(10, 2000));
    EXPECT_EQ(state.LastDate, D(2000, 10, 31));
    // Topmost, normal state and placement; never shown at start.
    EXPECT_EQ(window.log, (std::vector<std::string>{"topmost", "normal", "move"}));
    EXPECT_EQ(std::tuple(window.shown, window.x, window.y), std::tuple(false, 842, 512));

    // The icon is added with the full record, then modified by the refresh.
    ASSERT_EQ(tray.Ops(), (Ops{NotifyOp::Add, NotifyOp::Modify}));
    const NotifyRecord& r = tray.calls[0].record;
    ExpectRecord(r, 1031); // day 31
    EXPECT_EQ(std::string(r.szTip.data(), 35), std::string(kTrayTip) + '\0');
    EXPECT_EQ(std::string(r.szTip.data() + 35, 29), std::string(29, ' '));

    // Colours loaded (defaults on a first start) and applied before the grid.
    EXPECT_EQ(std::pair(state.LabelColor, state.CalendarColor), std::pair(kCyan, kWhite));
    EXPECT_EQ(options.applied, 1);
    EXPECT_EQ(app.Label(LabelId::lblMonth).caption, L"October 2000");
    EXPECT_EQ(app.Label(LabelId::lblToday).tooltip, L"Jump to Today (10/31/2000)");
}

TEST_F(CalendarAppTest, StartupOnTheFirstShowsPictureOfDayOne) {
    StartOn(D(2026, 12, 1));
    EXPECT_EQ(tray.calls.front().record.hIcon, 1001u);
    EXPECT_EQ(tray.calls.back().record.hIcon, 1001u);
}

TEST_F(CalendarAppTest, DefaultColoursPaintBarsWeekdaysAndCells) {
    StartOn(D(2000, 10, 18)); // a Wednesday
    for (LabelId id : {LabelId::lblMonth, LabelId::lblHide, LabelId::lblYearPrev,
                       LabelId::lblMonthPrev, LabelId::lblToday, LabelId::lblMonthNext,
                       LabelId::lblYearNext, LabelId::lblQuit, LabelId::lblAbout})
        EXPECT_EQ(Look(id), (Colours{kWhite, kCyan})) << Design(id).name;
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(Look(Dow(c)), (Colours{kWhite, kBlack}));
    // October 2000: cells 0-6 September, 7-37 October, 38-41 November.
    std::wstring captions;
    for (int i = 0; i < 42; ++i) {
        captions += Cell(i).caption + L" ";
        const Color fore = i == 24           ? kWhite // the 18th: today
                           : i < 7 || i > 37 ? kGrey
                           : i % 7 == 0      ? kCyan
                                             : kBlack;
        EXPECT_EQ(Look(Day(i)), (Colours{fore, i == 24 ? kCyan : kWhite})) << i;
    }
    EXPECT_EQ(captions, L"24 25 26 27 28 29 30 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 "
                        L"20 21 22 23 24 25 26 27 28 29 30 31 1 2 3 4 ");
    // The options window's panel and check box take the calendar colour too.
    EXPECT_EQ(options.panel, kWhite);
    state.CalendarColor = 0x00FF0000;
    app.ApplyColors();
    EXPECT_EQ(options.panel, 0x00FF0000u);
    EXPECT_EQ(app.Label(LabelId::lblAbout).fore, 0x00FF0000u);
}

TEST_F(CalendarAppTest, RefreshRewritesEveryCellAndMarksTodayAnywhereInTheGrid) {
    StartOn(D(2000, 1, 15));
    // Today in a trailing cell of the next month still gets the mark.
    clock.now = D(2000, 2, 3);
    ShowMonth(1, 2000);
    EXPECT_EQ(Cell(39).caption, L"3");
    EXPECT_EQ(Look(Day(39)), (Colours{kWhite, kCyan}));
    // A month out of the range (no step shows one) reads its captions.
    state.DisplayYear = 50;
    EXPECT_EQ(DescribeLabel(app, Day(3)).name, Cell(3).caption);
    // A month without today: no mark, and no colour survives from before.
    ShowMonth(2, 2009);
    for (int i = 0; i < 42; ++i)
        EXPECT_EQ(Cell(i).back, kWhite) << i;
    EXPECT_EQ(std::tuple(Cell(7).caption, Cell(34).caption, Cell(35).caption, Cell(35).fore),
              std::tuple(L"1", L"28", L"1", kGrey));
    // Both colours equal: nothing stops it, the marked day vanishes.
    state.LabelColor = state.CalendarColor = kWhite;
    app.ApplyColors();
    clock.now = D(2009, 2, 11);
    app.RefreshCalendar();
    EXPECT_EQ(Look(Day(17)), (Colours{kWhite, kWhite}));
    EXPECT_EQ(app.Label(LabelId::lblMonth).fore, app.Label(LabelId::lblMonth).back);
}

TEST_F(CalendarAppTest, RollOverFollowsTheDateBothWaysAndKeepsAnotherMonthOtherwise) {
    StartOn(D(2000, 12, 31));
    ShowMonth(6, 1999); // the user looks elsewhere
    tray.calls.clear();

    app.OnRefreshTimer(); // same day: the month on show stays
    EXPECT_EQ(MonthShown(), std::pair(6, 1999));
    ASSERT_EQ(tray.Ops(), Ops{NotifyOp::Modify});

    clock.now = D(2001, 1, 1); // midnight
    app.OnRefreshTimer();
    EXPECT_EQ(std::tuple(state.LastDate, MonthShown(), tray.calls.back().record.hIcon),
              std::tuple(D(2001, 1, 1), std::pair(1, 2001), 1001u));
    EXPECT_EQ(app.Label(LabelId::lblToday).tooltip, L"Jump to Today (1/1/2001)");

    clock.now = D(2000, 2, 29); // the clock set back
    app.OnRefreshTimer();
    EXPECT_EQ(std::tuple(state.LastDate, MonthShown(), tray.calls.back().record.hIcon),
              std::tuple(D(2000, 2, 29), std::pair(2, 2000), 1029u));

    // Started anew on 31 March, past midnight before the next tick: a jump to
    // today shows the new month, while the tray keeps the date it followed.
    tray.Restart();
    StartOn(D(2000, 3, 31));
    clock.now = D(2000, 4, 1);
    app.OnClick(LabelId::lblToday);
    // 1 April is a Saturday, in cell 6.
    EXPECT_EQ(std::tuple(state.DisplayMonth, state.LastDate, tray.calls.back().record.hIcon,
                         Cell(6).back),
              std::tuple(4, D(2000, 3, 31), 1031u, kCyan));
}

TEST_F(CalendarAppTest, TrayButtonUpTogglesUnlessTheOptionsWindowIsOpenOrOneIsUnderWay) {
    app.Startup();
    // Of all the mouse's codes only the two button-ups toggle.
    for (int code : {512, 513, 514, 515, 516, 517, 518, 519, 520, 521, 0, 1024}) {
        const bool before = window.shown;
        app.OnTrayCallback(code);
        EXPECT_EQ(window.shown != before, code == 514 || code == 517) << code;
    }
    // A double click brings two button-ups: the window ends as it was.
    const bool before = window.shown;
    for (int code : {513, 514, 515, 514})
        app.OnTrayCallback(code);
    EXPECT_EQ(window.shown, before);

    // A callback that arrives during a toggle is dropped; the next one counts.
    window.shown = false;
    int nested = 0;
    window.onShow = [&] {
        ++nested;
        app.OnTrayCallback(514); // re-entered while showing
    };
    app.OnTrayCallback(514);
    EXPECT_EQ(nested, 1);
    EXPECT_TRUE(window.shown);
    app.OnTrayCallback(514);
    EXPECT_FALSE(window.shown);

    // With the options window open the calendar stays; the options window
    // comes to the front.
    options.visible = true;
    app.OnTrayCallback(514);
    app.OnTrayCallback(517);
    app.OnTrayCallback(513);
    EXPECT_FALSE(window.shown);
    EXPECT_EQ(options.fronted, 2);
}

TEST_F(CalendarAppTest, CloseDeletesTheIconAndTaskbarRestartAddsItBack) {
    StartOn(D(2000, 10, 9));
    tray.calls.clear();
    tray.Restart();
    app.OnTaskbarCreated();
    ASSERT_EQ(tray.Ops(), Ops{NotifyOp::Add});
    ExpectRecord(tray.calls[0].record, 1009);

    state.TrayIconData.cbSize = 0; // whatever happened, the delete names the icon
    app.OnCloseRequest();
    ASSERT_EQ(tray.Ops(), (Ops{NotifyOp::Add, NotifyOp::Delete}));
    ExpectRecord(tray.calls[1].record, 1009);
}

TEST_F(CalendarAppTest, ACloseThatComesWhileTheShellIsBusyIsFinal) {
    app.Startup();
    // Log-off arrives while the minute's modify waits on a busy shell.
    tray.during = [&](NotifyOp op) {
        if (op != NotifyOp::Modify) return;
        tray.during = nullptr;
        app.OnCloseRequest();
    };
    tray.calls.clear();
    const int painted = window.labelsChanged;
    app.OnRefreshTimer();
    EXPECT_EQ(tray.Ops(), (Ops{NotifyOp::Modify, NotifyOp::Delete}));
    EXPECT_TRUE(tray.icons.empty());
    EXPECT_FALSE(window.trayRetry);
    EXPECT_EQ(window.labelsChanged, painted) << "the window is gone";

    // Nothing later brings the icon back, starts a timer or paints.
    icons.traySize = 24;
    app.OnTaskbarCreated();
    app.OnTrayRetryTimer();
    app.OnTraySizeChanged();
    app.OnRefreshTimer();
    app.OnMouseDown(LabelId::lblMonthNext);
    app.OnMouseUp(LabelId::lblMonthNext);
    app.OnClick(LabelId::lblToday);
    app.OnTrayCallback(514);
    app.SettingsChanged();
    app.OnCloseRequest();
    EXPECT_EQ(tray.Ops(), (Ops{NotifyOp::Modify, NotifyOp::Delete}));
    EXPECT_FALSE(window.trayRetry || window.scroll || window.shown);
    EXPECT_EQ(window.labelsChanged, painted);
}

TEST_F(CalendarAppTest, AnIconTheShellDidNotTakeIsTriedAgainUntilItIsThere) {
    clock.now = D(2000, 10, 9);
    tray.unanswered = 3; // the taskbar does not answer yet at log-on
    app.Startup();
    EXPECT_TRUE(tray.icons.empty());
    EXPECT_TRUE(window.trayRetry);
    // The refresh at the end of start-up does not wait on it a second time.
    ASSERT_EQ(tray.calls.size(), 1u);

    // One call a tick: a modify, in case a timed-out add landed after all,
    // then an add; midnight passes meanwhile.
    app.OnTrayRetryTimer();
    app.OnTrayRetryTimer();
    clock.now = D(2000, 10, 10);
    app.OnRefreshTimer();
    app.OnTrayRetryTimer();
    app.OnTrayRetryTimer();
    EXPECT_EQ(tray.Ops(), (Ops{NotifyOp::Add, NotifyOp::Modify, NotifyOp::Add, NotifyOp::Modify,
                               NotifyOp::Add}));
    EXPECT_FALSE(window.trayRetry);
    ASSERT_EQ(tray.icons.size(), 1u);
    ExpectRecord(tray.icons.begin()->second, 1010); // today's, not the failed add's

    // Shown: the retries stop and the refresh modifies again.
    app.OnTrayRetryTimer();
    app.OnRefreshTimer();
    EXPECT_EQ(std::tuple(tray.calls.back().op, tray.Count(NotifyOp::Add), tray.refusedAdds),
              std::tuple(NotifyOp::Modify, 3, 0));
}

TEST_F(CalendarAppTest, TheIconIsNeverAddedTwiceNorLeftOut) {
    // An add that timed out in the shell but landed is found, not added again.
    tray.late = 1;
    app.Startup();
    EXPECT_TRUE(window.trayRetry);
    app.OnTrayRetryTimer();
    ExpectIconShownOnce();

    // A shell that lost the icon without telling: the modify falls back to an add.
    tray.Restart();
    tray.calls.clear();
    app.OnRefreshTimer();
    ASSERT_EQ(tray.Ops(), (Ops{NotifyOp::Modify, NotifyOp::Add}));
    ExpectIconShownOnce();

    // A new taskbar while the icon is being retried takes it at once.
    tray.Restart();
    tray.unanswered = 2;
    app.OnRefreshTimer();
    EXPECT_TRUE(window.trayRetry);
    app.OnTaskbarCreated();
    ExpectIconShownOnce();
}

TEST_F(CalendarAppTest, ANewTraySizeGetsTheDaysPictureMadeForIt) {
    StartOn(D(2000, 10, 9));
    tray.calls.clear();
    app.OnTraySizeChanged(); // the size is what it was: nothing to send
    EXPECT_TRUE(tray.calls.empty());

    icons.traySize = 24;
    app.OnTraySizeChanged();
    ASSERT_EQ(tray.Ops(), Ops{NotifyOp::Modify});
    ExpectRecord(tray.calls[0].record, 24009);
    // The tray follows LastDate, not the month on show; later refreshes and
    // a re-add keep the new size.
    ShowMonth(3, 1999);
    EXPECT_EQ(tray.calls.back().record.hIcon, 24009u);
    tray.Restart();
    app.OnTaskbarCreated();
    EXPECT_EQ(tray.calls.back().op, NotifyOp::Add);
    EXPECT_EQ(tray.calls.back().record.hIcon, 24009u);

    // While the icon is tried again, a new size does not call the shell that
    // is not answering; the retry carries the new picture.
    tray.Restart();
    tray.unanswered = 2;
    app.OnRefreshTimer();
    const std::size_t calls = tray.calls.size();
    icons.traySize = 32;
    app.OnTraySizeChanged();
    EXPECT_EQ(tray.calls.size(), calls);
    app.OnTrayRetryTimer();
    app.OnTrayRetryTimer();
    EXPECT_EQ(tray.Shown(), 32009u);
}

TEST_F(CalendarAppTest, ButtonLabelsHideQuitDragAndOpenOptions) {
    app.Startup();
    window.log.clear();
    app.OnMouseDown(LabelId::lblHide);
    EXPECT_EQ(Look(LabelId::lblHide), (Colours{kCyan, kWhite}));
    app.OnMouseUp(LabelId::lblHide);
    EXPECT_EQ(app.Label(LabelId::lblHide).fore, kWhite);
    app.OnClick(LabelId::lblHide);
    app.OnClick(LabelId::lblAbout);
    EXPECT_EQ(options.modal, 1);
    // lblQuit keeps its colours when pressed.
    app.OnMouseDown(LabelId::lblQuit);
    EXPECT_EQ(app.Label(LabelId::lblQuit).back, kCyan);
    app.OnClick(LabelId::lblQuit);
    // Only the left button alone drags the title.
    for (int buttons : {2, 3, 0})
        app.OnMouseMove(LabelId::lblMonth, buttons);
    app.OnMouseMove(LabelId::lblQuit, 1);
    app.OnMouseMove(LabelId::lblMonth, 1);
    EXPECT_EQ(window.log, (std::vector<std::string>{"hide", "close", "drag"}));

    // A day, a weekday and the title have no pressed look: a press and a
    // release leave their colours, and nothing is painted again.
    const int painted = window.labelsChanged;
    for (LabelId id : {Day(10), Dow(3), LabelId::lblMonth}) {
        const LabelState before = app.Label(id);
        app.OnMouseDown(id);
        app.OnMouseUp(id);
        EXPECT_EQ(Look(id), (Colours{before.fore, before.back})) << Design(id).name;
        EXPECT_EQ(app.Label(id).ink, before.ink) << Design(id).name;
    }
    EXPECT_EQ(window.labelsChanged, painted);
}

} // namespace
} // namespace mivra
