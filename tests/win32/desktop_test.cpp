// The calendar window on a desktop that changes under it: a log-off while
// the shell is busy, a monitor that went away.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/placement.h"
#include "tests/support/calendar_window_rig_win32.h"
#include "tests/support/window_rects_win32.h"

namespace mivra {
namespace {

using test::OuterRect;

class DesktopTest : public ::testing::Test, protected test::CalendarWindowRig {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }
    void TearDown() override { Stop(); }
};

TEST_F(DesktopTest, ALogOffWhileTheShellIsBusyEndsEverythingAndAddsNothing) {
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

TEST_F(DesktopTest, AWindowLeftOffEveryMonitorComesBackToTheBottomRight) {
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

TEST_F(DesktopTest, AMinimizedOrMaximizedCalendarComesBackInItsNormalState) {
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
        EXPECT_EQ(test::Box(OuterRect(h)), test::Box(normal)) << state;
        window.Hide();
    }
}

} // namespace
} // namespace mivra
