#include "app/calendar_window_win32.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "base/placement.h"
#include "base/twips.h"
#include "tests/support/calendar_window_rig_win32.h"
#include "tests/support/dib_canvas_win32.h"
#include "tests/support/reader_win32.h"
#include "tests/support/window_rects_win32.h"

namespace mivra {
namespace {

using namespace test;

class CalendarWindowTest : public ::testing::Test, protected CalendarWindowRig {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }
    void TearDown() override { Stop(); }

    LPARAM At(LabelId id) { return AtMiddle(window.LabelRect(id)); }
};

TEST_F(CalendarWindowTest, IsAHiddenBorderlessTopmostToolWindowOfTheDesignedSize) {
    // A popup without caption, sizing frame or system menu; a topmost tool window.
    const LONG style = GetWindowLongW(h, GWL_STYLE), ex = GetWindowLongW(h, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), WS_POPUP);
    EXPECT_EQ(ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST), WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    EXPECT_FALSE(IsWindowVisible(h));
    // Made topmost without taking the focus: at log-on the user may be typing
    // into another program already.
    EXPECT_TRUE(GetActiveWindow() != h && GetFocus() != h);
    EXPECT_EQ(WindowText(h), L"Mivra 2000");
    // Its icon, the window's and the class's, is the page of day 31.
    const auto icon = reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(icon, reinterpret_cast<HICON>(GetClassLongPtrW(h, GCLP_HICON)));
    EXPECT_EQ(IconSize(icon), 32);

    const int dpi = window.Dpi();
    const RECT client = ClientArea(h), outer = OuterRect(h);
    EXPECT_EQ(Box(client), Box({0, 0, TwipsToPixels(2580, dpi), TwipsToPixels(3084, dpi)}));
    EXPECT_EQ(outer.right - outer.left, client.right); // no frame at all
    if (dpi == 96) {
        EXPECT_EQ(Box(client), Box({0, 0, 172, 206}));
        // The cell's left edge is (24 + 360) / 15 rounded down.
        EXPECT_EQ(Box(window.LabelRect(Day(8))), Box(RECT{25, 60, 50, 85}));
    }

    // The callback window exists from the start, hidden, below the client.
    HWND hook = window.Hook();
    ASSERT_TRUE(IsWindow(hook));
    EXPECT_EQ(std::pair(IsWindowVisible(hook), GetParent(hook)), std::pair(FALSE, h));

    // Its tooltips are made at the first show, not at start.
    EXPECT_EQ(window.Tooltips(), nullptr);
    ShowWindow(h, SW_SHOWNA);
    // One tool for each of the eight button labels.
    EXPECT_EQ(SendMessageW(window.Tooltips(), TTM_GETTOOLCOUNT, 0, 0), 8);
}

TEST_F(CalendarWindowTest, TooltipsTakeTheTipFontOfANewDpiOrTextSizeAndFollowTheLabels) {
    // Pointing at the hidden window makes the tooltips as the first show does.
    SendMessageW(h, WM_MOUSEMOVE, 0, At(LabelId::lblToday));
    HWND tips = window.Tooltips();
    ASSERT_NE(tips, nullptr);
    auto tipFontHeight = [&] {
        LOGFONTW lf{};
        const auto font = reinterpret_cast<HFONT>(SendMessageW(tips, WM_GETFONT, 0, 0));
        EXPECT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
        return std::abs(lf.lfHeight);
    };
    auto changeDpi = [&](int dpi) {
        SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
        ASSERT_EQ(window.Dpi(), dpi);
    };
    changeDpi(96);
    const long at96 = tipFontHeight();
    ASSERT_GT(at96, 0);
    const long fonts = UniqueFont::Live();

    changeDpi(144);
    EXPECT_NEAR(tipFontHeight(), at96 * 3 / 2, 1);
    TTTOOLINFOW tool{.cbSize = sizeof(tool), .hwnd = h, .uId = UINT_PTR(Index(LabelId::lblToday))};
    ASSERT_TRUE(SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(Box(tool.rect), Box(window.LabelRect(LabelId::lblToday)));

    // Each change replaces the font; none is left behind.
    changeDpi(96);
    EXPECT_EQ(tipFontHeight(), at96);
    changeDpi(144);
    EXPECT_EQ(UniqueFont::Live(), fonts);

    // Larger text in the system's settings reaches the tips too.
    changeDpi(96);
    NONCLIENTMETRICSW saved{sizeof(saved)};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0));
    NONCLIENTMETRICSW larger = saved;
    larger.lfStatusFont.lfHeight = -2 * at96;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof larger, &larger, 0));
    SendMessageW(h, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    const long larger96 = tipFontHeight();
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved, &saved, 0);
    EXPECT_EQ(larger96, 2 * at96);
    EXPECT_EQ(UniqueFont::Live(), fonts);
}

TEST_F(CalendarWindowTest, PaintsEveryPartWhereTheLayoutPutsItWithOnePixelLinesAtEveryDpi) {
    const COLORREF cyan = 0x00808000, white = 0x00FFFFFF, black = 0;
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        RECT client{0, 0, TwipsToPixels(2580, dpi), TwipsToPixels(3084, dpi)};
        SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&client));
        ASSERT_EQ(window.Dpi(), dpi);
        EXPECT_EQ(Box(ClientArea(h)), Box(client)) << "the window keeps its size";
        const DibCanvas canvas(h);

        EXPECT_EQ(canvas.At(0, 0), black);
        EXPECT_EQ(canvas.At(client.right - 1, client.bottom - 1), black);
        EXPECT_EQ(canvas.At(5, 4), cyan); // title band, left of the caption
        const POINT dow = Middle(window.LabelRect(Dow(3)));
        EXPECT_EQ(canvas.At(window.LabelRect(Dow(3)).left + 2, dow.y), black);
        // Cell backgrounds: white face, today (the 18th, cell 24) marked.
        EXPECT_EQ(canvas.At(window.LabelRect(Day(10)).left + 3, window.LabelRect(Day(10)).top + 3),
                  white);
        EXPECT_EQ(canvas.At(window.LabelRect(Day(24)).left + 3, window.LabelRect(Day(24)).top + 3),
                  cyan);
        // Buttons: dark cyan at rest, framed in black at the window's edge.
        const RECT hide = window.LabelRect(LabelId::lblHide);
        EXPECT_EQ(canvas.At(hide.left + 3, hide.top + 3), cyan);
        EXPECT_EQ(canvas.At(hide.left - 1, hide.top + 3), black);

        // A paint of the top-left corner draws the labels it touches, no
        // others; one of the frame's corner draws none. Either leaves the
        // DC's font.
        const DibCanvas corner(client.right, client.bottom);
        const HGDIOBJ font = GetCurrentObject(corner.Dc(), OBJ_FONT);
        window.PaintContent(corner.Dc(), {0, 0, 10, 10});
        EXPECT_EQ(corner.At(5, 4), cyan);
        EXPECT_EQ(corner.At(hide.left + 3, hide.top + 3), black);
        window.PaintContent(corner.Dc(), {0, 0, 1, 1});
        EXPECT_EQ(GetCurrentObject(corner.Dc(), OBJ_FONT), font);

        // Across the bottom row, below the captions: one line between
        // neighbours (36 and 37 are white days of October 2000).
        const RECT a = window.LabelRect(Day(36)), b = window.LabelRect(Day(37));
        int lines = 0;
        for (int x = (a.left + a.right) / 2; x < (b.left + b.right) / 2; ++x)
            lines += canvas.At(x, a.bottom - 2) != white;
        EXPECT_EQ(lines, 1) << "between two cells";
        EXPECT_EQ(canvas.At(b.left, a.bottom - 2), GetSysColor(COLOR_WINDOWFRAME));

        // Down column 2 at the left edge, clear of the captions.
        const RECT up = window.LabelRect(Day(23)), down = window.LabelRect(Day(30));
        lines = 0;
        for (int y = up.bottom - 3; y < down.top + 3; ++y)
            lines += canvas.At(down.left + 2, y) != white;
        EXPECT_EQ(lines, 1) << "between two rows";

        // Between the last day row and the buttons a line of the black
        // background that belongs to no label.
        const RECT button = window.LabelRect(LabelId::lblYearPrev);
        ASSERT_LT(a.bottom, button.top);
        LabelId id;
        EXPECT_FALSE(LabelAtPixel(a.left + 2, a.bottom, dpi, id));
        EXPECT_EQ(canvas.At(a.left + 2, a.bottom), black);
        EXPECT_EQ(canvas.At(a.left + 2, a.bottom - 2), white);
        EXPECT_EQ(canvas.At(button.left + 2, button.top + 2), COLORREF{state.LabelColor});

        // The "x" stands inside the title, clear of its top and right edges.
        const RECT title = window.LabelRect(LabelId::lblMonth);
        const RECT quit = window.LabelRect(LabelId::lblQuit);
        EXPECT_GT(quit.top, title.top);
        EXPECT_LT(quit.right, title.right);
    }
}

// Counts the starts of the system's move loop instead of running it.
int drags = 0;
LRESULT CALLBACK CatchDrag(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_NCLBUTTONDOWN && wp == HTCAPTION) {
        ++drags;
        return 0;
    }
    return DefSubclassProc(w, msg, wp, lp);
}

TEST_F(CalendarWindowTest, OnlyAPressThatBeganOnTheTitleDragsTheWindow) {
    drags = 0;
    ASSERT_TRUE(SetWindowSubclass(h, CatchDrag, 1, 0));
    const LPARAM title = At(LabelId::lblMonth);

    // Pressed on the black frame, on a day cell, or on the title with the
    // right button, then slid onto the title; or moved there with no button.
    const std::tuple<UINT, UINT, WPARAM, LPARAM, const char*> presses[] = {
        {WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(0, 0), "on the frame"},
        {WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, At(Day(3)), "on a cell"},
        {WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, title, "the right button"},
        {WM_MOUSEMOVE, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0), "no button"}};
    for (const auto& [down, up, held, at, what] : presses) {
        SendMessageW(h, down, held, at);
        SendMessageW(h, WM_MOUSEMOVE, held, title);
        SendMessageW(h, up, 0, title);
        EXPECT_EQ(drags, 0) << what;
    }
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, title);
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, title);
    EXPECT_EQ(drags, 1) << "a press on the title";
    RemoveWindowSubclass(h, CatchDrag, 1);
}

TEST_F(CalendarWindowTest, MouseOnStepLabelsStepsRepeatsAndStopsOnCaptureLoss) {
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(LabelId::lblMonthNext));
    EXPECT_EQ(GetCapture(), h);
    // The label keeps the press: another button, the capture handed to the
    // window itself and a timer of no one's change nothing.
    SendMessageW(h, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, At(LabelId::lblMonthPrev));
    SendMessageW(h, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(h));
    SendMessageW(h, WM_TIMER, 99, 0);
    const Reader reader(h); // and a reader's press of "<"
    reader->accDoDefaultAction(
        Child(reader.HitTest(Middle(ScreenRect(h, window.LabelRect(LabelId::lblMonthPrev))))));
    EXPECT_EQ(state.DisplayMonth, 11);
    EXPECT_EQ(app->Label(LabelId::lblMonthNext).back, state.CalendarColor) << "still pressed";
    SendMessageW(h, WM_TIMER, 2, 0); // tmrButtonScroll
    EXPECT_EQ(state.DisplayMonth, 12);
    // Released far away: the repeat ends, and there is no click.
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_NE(GetCapture(), h);
    EXPECT_EQ(app->Label(LabelId::lblMonthNext).back, state.LabelColor);

    // Another program takes the mouse mid-press: the press ends as a release.
    SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, At(LabelId::lblYearPrev));
    EXPECT_EQ(state.DisplayYear, 1999);
    ReleaseCapture();
    EXPECT_EQ(app->Label(LabelId::lblYearPrev).back, state.LabelColor);

    // A click on the today label comes back.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(LabelId::lblToday));
    SendMessageW(h, WM_LBUTTONUP, 0, At(LabelId::lblToday));
    EXPECT_EQ(MonthShown(), std::pair(10, 2000));
}

TEST_F(CalendarWindowTest, AWindowThatMissedADpiChangeWhileHiddenShowsAtItsMonitorsDpi) {
    const int monitorDpi = window.Dpi();
    const int missed = monitorDpi == 144 ? 96 : 144;
    // Laid out for another DPI than its monitor now has, as when the
    // monitor's scale changed while the window was hidden.
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(missed, missed), 0);
    ASSERT_EQ(window.Dpi(), missed);
    const RECT before = OuterRect(h);

    window.Show();
    EXPECT_EQ(window.Dpi(), monitorDpi);
    // Its size at that DPI, still where the notification area is: the
    // bottom-right corner stays.
    EXPECT_EQ(Box(OuterRect(h)),
              Box({before.right - TwipsToPixels(kCalendarWidthTwips, monitorDpi),
                   before.bottom - TwipsToPixels(kCalendarHeightTwips, monitorDpi), before.right,
                   before.bottom}));
    // And it paints at that DPI: the title ends where the layout says.
    const DibCanvas canvas(h);
    const RECT title = window.LabelRect(LabelId::lblMonth);
    EXPECT_EQ(canvas.At(title.right - 1, title.bottom - 1), COLORREF{state.LabelColor});
    EXPECT_EQ(canvas.At(title.right, title.bottom - 1), 0u);
}

TEST_F(CalendarWindowTest, ShellMessagesReachTheLogic) {
    // Tray callbacks arrive on the hidden hook window, the code in lParam's
    // low word; wParam and the high word do not count.
    SendMessageW(window.Hook(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0x0202, 5));
    EXPECT_TRUE(IsWindowVisible(h));
    SendMessageW(window.Hook(), WM_MOUSEMOVE, 1, WM_RBUTTONUP);
    EXPECT_FALSE(IsWindowVisible(h));
    SendMessageW(window.Hook(), WM_MOUSEMOVE, 1, WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindowVisible(h));

    // (The taskbar's return: below; a changed clock and a resume: the soak
    // test follows the date there.) Log-off is never refused; the close removes the icon and the
    // window.
    EXPECT_TRUE(SendMessageW(h, WM_QUERYENDSESSION, 0, 0));
    tray.calls.clear();
    SendMessageW(h, WM_CLOSE, 0, 0);
    ASSERT_FALSE(tray.calls.empty());
    EXPECT_EQ(tray.calls.front().op, NotifyOp::Delete);
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(CalendarWindowTest, ChangesOfTheTraysSizeBringThePictureMadeForIt) {
    tray.calls.clear();
    SendMessageW(h, WM_SETTINGCHANGE, 0, 0); // a setting, but the same size
    EXPECT_TRUE(tray.calls.empty());

    // Each message after which the notification area may show icons at
    // another size; the 18th is today.
    int size = 16;
    const auto change = [&](UINT msg, WPARAM wp, LPARAM lp) {
        SCOPED_TRACE(msg);
        icons.traySize = size += 4;
        tray.calls.clear();
        SendMessageW(h, msg, wp, lp);
        ASSERT_EQ(tray.Ops(), std::vector{NotifyOp::Modify});
        EXPECT_EQ(tray.calls[0].record.hIcon, 1000u * size + 18);
    };
    change(WM_SETTINGCHANGE, 0, 0);
    change(WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    RECT suggested{0, 0, TwipsToPixels(2580, 144), TwipsToPixels(3084, 144)};
    change(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

    // A taskbar re-created at another DPI gets the new picture in the add,
    // and nothing before it.
    icons.traySize = 32;
    tray.calls.clear();
    tray.Restart();
    SendMessageW(h, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_EQ(tray.Ops(), std::vector{NotifyOp::Add});
    EXPECT_EQ(tray.calls.back().record.hIcon, 32018u);
}

// On a desktop that changes under it: a log-off while the shell is busy, a
// monitor that went away, another program's minimize or maximize.
TEST_F(CalendarWindowTest, ALogOffWhileTheShellIsBusyEndsEverythingAndAddsNothing) {
    SendMessageW(h, WM_ENDSESSION, FALSE, 0); // the log-off was cancelled
    ASSERT_TRUE(IsWindow(h));
    ASSERT_EQ(tray.icons.size(), 1u);

    // The session ends while the minute's modify waits on the shell.
    tray.during = [&](NotifyOp op) {
        if (op != NotifyOp::Modify) return;
        tray.during = nullptr;
        SendMessageW(h, WM_ENDSESSION, TRUE, 0);
    };
    tray.calls.clear();
    SendMessageW(h, WM_TIMECHANGE, 0, 0); // a refresh, as the timer runs one
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(window.Handle(), nullptr);
    ASSERT_EQ(tray.Ops(), (std::vector{NotifyOp::Modify, NotifyOp::Delete}));
    EXPECT_TRUE(tray.icons.empty());
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(CalendarWindowTest, AWindowLeftOffEveryMonitorComesBackToTheBottomRight) {
    const PixelPoint home =
        BottomRightPlacement(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                             kCalendarWidthTwips, kCalendarHeightTwips, window.Dpi());
    const auto shownAt = [&](int x, int y) {
        window.Hide();
        SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        window.Show();
        return OuterRect(h);
    };
    // Dragged to a monitor that was unplugged since.
    RECT r = shownAt(-5000, -5000);
    EXPECT_EQ(std::pair(r.left, r.top), std::pair(LONG{home.x}, LONG{home.y}));
    // A sliver left after the resolution dropped.
    r = shownAt(GetSystemMetrics(SM_CXSCREEN) - 8, 100);
    EXPECT_EQ(r.left, home.x);
    // Where the user left it, half off the edge: it stays.
    const int halfOff = -(r.right - r.left) / 2;
    r = shownAt(halfOff, 100);
    EXPECT_EQ(std::pair(r.left, r.top), std::pair(LONG{halfOff}, LONG{100}));
}

TEST_F(CalendarWindowTest, AMinimizedOrMaximizedCalendarComesBackInItsNormalState) {
    const RECT normal = OuterRect(h);
    for (int state : {SW_MINIMIZE, SW_MAXIMIZE}) {
        // Hidden in that state (another program's doing): the state goes, the
        // window stays hidden, as at start.
        ShowWindow(h, state);
        ShowWindow(h, SW_HIDE);
        window.SetNormalState();
        EXPECT_FALSE(IsIconic(h) || IsZoomed(h)) << state;
        EXPECT_FALSE(IsWindowVisible(h)) << state;
        // A tray click brings it back whole: shown minimized (nothing of the
        // month to see), or hidden maximized.
        ShowWindow(h, state);
        if (state == SW_MAXIMIZE) ShowWindow(h, SW_HIDE);
        app->OnTrayCallback(0x0202);
        EXPECT_TRUE(IsWindowVisible(h)) << state;
        EXPECT_FALSE(IsIconic(h) || IsZoomed(h)) << state;
        EXPECT_EQ(Box(OuterRect(h)), Box(normal)) << state;
        window.Hide();
    }
}

// The real timers, made short. A timer that runs another routine would leave
// yesterday's picture in the tray, or no icon at all after a busy shell.
class CalendarTimersTest : public ::testing::Test, protected CalendarWindowRig {
protected:
    CalendarTimersTest() : CalendarWindowRig({.refreshMs = 20, .trayRetryMs = 20}) {}
    void TearDown() override { Stop(); }
};

TEST_F(CalendarTimersTest, TheRefreshTimerBringsTomorrowsPictureAndTheRetryTimerTheIcon) {
    ASSERT_TRUE(Start()); // 18 October
    clock.now = D(2000, 10, 19);
    EXPECT_TRUE(PumpUntil([&] { return tray.Shown() == 1019; })) << "the refresh timer";
    // The shell lost the icon and answers neither the next modify nor the add
    // after it: only the retry timer brings the icon back.
    tray.Restart();
    tray.unanswered = 2;
    clock.now = D(2000, 10, 20);
    EXPECT_TRUE(PumpUntil([&] { return tray.Shown() == 1020; })) << "the retry timer";
    EXPECT_EQ(tray.refusedAdds, 0);
}

} // namespace
} // namespace mivra
