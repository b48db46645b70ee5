// The real program in the Wine desktop, used the way a person uses it.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "grid.h"

namespace mivra::e2e {
namespace {

class MivraE2E : public DesktopTest {};

TEST_F(MivraE2E, StartsHiddenWithOnlyItsIconShowingAndStoresTheDefaults) {
    Mivra& m = App();
    ASSERT_TRUE(m.Started());
    const WindowInfo w = m.Window();
    EXPECT_FALSE(w.visible);
    EXPECT_EQ(std::tuple(w.clientWidth, w.clientHeight, w.left, w.top),
              std::tuple(172, 206, 842, 512));
    // A popup with no caption; a tool window (no taskbar button), topmost.
    EXPECT_EQ(w.style & 0x80C00000u, 0x80000000u);
    EXPECT_EQ(w.exStyle & 0x00000088u, 0x00000088u);
    EXPECT_TRUE(TrayIconShown(Screenshot::Take()));
    // A first start writes both colours, where this program's registry view
    // puts them.
    EXPECT_TRUE(Stored("Clr_Labels", "REG_SZ", "8421376"));
    EXPECT_TRUE(Stored("Clr_Calendar", "REG_SZ", "16777215"));
}

TEST_F(MivraE2E, TrayClicksShowTheCurrentMonthAndHideIt) {
    Mivra& m = App();
    const WindowInfo w = Shown(m);
    EXPECT_EQ(std::pair(w.left, w.top), std::pair(842, 512));
    const Screenshot s = Screenshot::Take();
    s.Save("calendar.png");
    EXPECT_TRUE(ShowsMonth(s, w, ThisMonth()));
    // Title bar: white text on dark cyan; weekday row: white on black.
    const Rect weekdays{w.left + 3, w.top + 25, w.left + 168, w.top + 36};
    EXPECT_GT(s.Count(AroundTitle(w), kCyan), 300);
    EXPECT_GT(s.Count(AroundTitle(w), kWhite), 20);
    EXPECT_GT(s.Count(weekdays, kBlack), 300);
    EXPECT_GT(s.Count(weekdays, kWhite), 20);
    // The black frame around it all.
    EXPECT_EQ(s.At(w.left, w.top), kBlack);
    EXPECT_EQ(s.At(w.right - 1, w.bottom - 1), kBlack);

    EXPECT_TRUE(ClickTray(m, false));
    EXPECT_TRUE(ClickTray(m, true, 3)); // the right button does the same
    EXPECT_TRUE(ClickTray(m, false, 3));
}

TEST_F(MivraE2E, HoveringTheIconShowsItsTip) {
    Mivra& m = App();
    const Rect icon = Tray();
    // The tip opens just above the taskbar, to the left of the icon.
    auto changed = [&](const Screenshot& a, const Screenshot& b) {
        int n = 0;
        for (int y = icon.top - 40; y < icon.top; ++y)
            for (int x = icon.left - 300; x < icon.right; ++x)
                n += !(a.At(x, y) == b.At(x, y));
        return n;
    };
    const Screenshot before = Screenshot::Take();
    for (int x = icon.left + 2; x < icon.right; x += 4)
        MoveTo({x, icon.Centre().y});
    Screenshot after = before;
    EXPECT_TRUE(WaitUntil([&] { return changed(before, after = Screenshot::Take()) > 1000; }));
    after.Save("tray-tip.png");
    EXPECT_FALSE(m.Window().visible);
}

TEST_F(MivraE2E, StepLabelsMoveTheGridAndHoldingRepeats) {
    const WindowInfo w = Shown(App());
    const chr::year_month now = ThisMonth();

    // ">", then "<<", then the jump back to today.
    const std::pair<int, chr::year_month> steps[] = {
        {4, now + chr::months(1)}, {1, now + chr::months(1) - chr::years(1)}, {3, now}};
    for (const auto& [column, month] : steps) {
        Click(Button(w, column));
        EXPECT_TRUE(WaitForMonth(w, month)) << "button " << column;
    }

    // Held: one step at once, then one every 250 ms, judged against the time
    // the button was really down. A busy machine may deliver a tick late, so
    // one step either way is allowed, but never fewer than two repeats.
    const auto down = chr::steady_clock::now();
    Press(Button(w, 4));
    Sleep(1250ms);
    Release();
    const auto held = chr::duration_cast<chr::milliseconds>(chr::steady_clock::now() - down);
    const int expected = 1 + int(held.count() / 250);
    int moved = -1;
    WaitUntil([&] { return (moved = MonthsShownAfter(w, now)) > 0; }, 5s);
    EXPECT_GE(moved, std::max(3, expected - 2)) << "held " << held.count() << " ms";
    EXPECT_LE(moved, expected + 1) << "held " << held.count() << " ms";
    // Released: the repeat has stopped.
    Sleep(750ms);
    EXPECT_TRUE(ShowsMonth(Screenshot::Take(), w, now + chr::months(moved)));
    Click(Button(w, 3));
    EXPECT_TRUE(WaitForMonth(w, now));
}

TEST_F(MivraE2E, TheTitleDragsWithTheLeftButtonOnlyAndHideHides) {
    Mivra& m = App();
    const WindowInfo w = Shown(m);
    const Point title = Title(w);
    Press({title.x - 40, title.y}, 3);
    MoveTo({title.x - 140, title.y - 100});
    Release(3);
    Sleep(300ms); // nothing should happen; give it the chance
    EXPECT_EQ(m.Window().left, w.left);

    Press({title.x - 40, title.y});
    MoveTo({title.x - 60, title.y - 20});
    MoveTo({title.x - 140, title.y - 100});
    Release();
    ASSERT_TRUE(WaitUntil([&] { return m.Window().left != w.left; }));
    const WindowInfo moved = m.Window();
    // The move loop follows the pointer from where the drag began.
    EXPECT_LE(moved.left, w.left - 70);
    EXPECT_GE(moved.left, w.left - 100);
    EXPECT_LE(moved.top, w.top - 70);
    EXPECT_GE(moved.top, w.top - 100);

    Click(Button(moved, 0));
    EXPECT_TRUE(m.WaitVisible(false));
    EXPECT_EQ(Shown(m).left, moved.left); // back where it was dragged to
}

} // namespace
} // namespace mivra::e2e
