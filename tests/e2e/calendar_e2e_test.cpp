// The real program in the Wine desktop, used the way a person uses it.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>

#include "harness.h"

namespace mivra::e2e {
namespace {

using namespace std::chrono_literals;
namespace chr = std::chrono;

const Rgb kCyan{0, 128, 128}, kWhite{255, 255, 255}, kBlack{0, 0, 0}, kLightGrey{192, 192, 192},
    kTrayBlue{0, 0, 128}, kRed{255, 0, 0};

chr::year_month_day LocalToday() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return chr::year{tm.tm_year + 1900} / chr::month(unsigned(tm.tm_mon + 1)) /
           chr::day(unsigned(tm.tm_mday));
}

// The dates of the 42 cells for a month, worked out here from first
// principles: six weeks from the last Sunday strictly before the 1st.
std::vector<chr::year_month_day> ExpectedGrid(chr::year_month ym) {
    const chr::sys_days first{ym / 1};
    const unsigned wd = chr::weekday(first).c_encoding();
    const chr::sys_days start = first - chr::days(wd == 0 ? 7 : wd);
    std::vector<chr::year_month_day> cells;
    for (int i = 0; i < 42; ++i)
        cells.emplace_back(start + chr::days(i));
    return cells;
}

struct CellBox {
    int l, t, r, b;
};
CellBox Cell(const WindowInfo& w, int i, int dpi = 96) {
    auto px = [dpi](int tw) { return int(std::lround(tw * dpi / 1440.0)); };
    const int l = 24 + 360 * (i % 7), t = 552 + 360 * (i / 7);
    // Inside the border and clear of the neighbours' overlap.
    return {w.left + px(l) + 2, w.top + px(t) + 2, w.left + px(l + 372) - 2,
            w.top + px(t + 372) - 2};
}

enum class Seen { InMonth, Sunday, Other, Today, Unknown };
Seen ReadCell(const Screenshot& s, const WindowInfo& w, int i, int dpi) {
    const CellBox c = Cell(w, i, dpi);
    const int area = (c.r - c.l) * (c.b - c.t);
    if (s.Count(c.l, c.t, c.r, c.b, kCyan) > area / 2) return Seen::Today;
    if (s.Count(c.l, c.t, c.r, c.b, kWhite) < area / 2) return Seen::Unknown;
    if (s.Count(c.l, c.t, c.r, c.b, kCyan) >= 3) return Seen::Sunday;
    if (s.Count(c.l, c.t, c.r, c.b, kBlack) >= 3) return Seen::InMonth;
    if (s.Count(c.l, c.t, c.r, c.b, kLightGrey) >= 3) return Seen::Other;
    return Seen::Unknown;
}

// Whether the grid on screen is the given month, cell by cell, with its
// colours: in-month weekdays black, in-month Sundays cyan, neighbours grey,
// today marked.
::testing::AssertionResult ShowsMonth(const Screenshot& s, const WindowInfo& w, chr::year_month ym,
                                      int dpi = 96) {
    const auto today = LocalToday();
    const auto cells = ExpectedGrid(ym);
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

bool TrayIconShown(const Screenshot& s) {
    return s.Count(996, 746, 1024, 768, kTrayBlue) > 20;
}

class MivraE2E : public DesktopTest {
protected:
    Point Label(const WindowInfo& w, int l, int t, int width, int height) {
        return LabelCentre(w, l, t, width, height);
    }
    // The button row: column 0 hide ... 6 about.
    Point Button(const WindowInfo& w, int column) {
        return Label(w, 24 + 360 * column, 2736, 372, 324);
    }
};

TEST_F(MivraE2E, StartsHiddenWithOnlyItsIconShowing) {
    Mivra m(*probe);
    ASSERT_TRUE(m.Started());
    const WindowInfo w = m.Window();
    EXPECT_FALSE(w.visible);
    EXPECT_EQ(w.clientWidth, 172);
    EXPECT_EQ(w.clientHeight, 206);
    EXPECT_EQ(w.left, 842);
    EXPECT_EQ(w.top, 512);
    EXPECT_TRUE(w.style & 0x80000000u);   // popup
    EXPECT_FALSE(w.style & 0x00C00000u);  // no caption
    EXPECT_TRUE(w.exStyle & 0x00000080u); // tool window: no taskbar button
    EXPECT_TRUE(w.exStyle & 0x00000008u); // topmost
    ASSERT_TRUE(WaitUntil([] { return TrayIconShown(Screenshot::Take()); }, 5s));
}

TEST_F(MivraE2E, TrayClicksShowTheCurrentMonthAndHideIt) {
    Mivra m(*probe);
    ShowByTray(m);
    const WindowInfo w = m.Window();
    EXPECT_EQ(w.left, 842);
    EXPECT_EQ(w.top, 512);
    const Screenshot s = Screenshot::Take();
    Save(s, "calendar.png");
    const auto today = LocalToday();
    EXPECT_TRUE(ShowsMonth(s, w, today.year() / today.month()));
    // Title bar: white text on dark cyan; weekday row: white on black.
    const Point title = Label(w, 24, 24, 2532, 348);
    EXPECT_GT(s.Count(title.x - 60, title.y - 8, title.x + 60, title.y + 8, kCyan), 300);
    EXPECT_GT(s.Count(title.x - 60, title.y - 8, title.x + 60, title.y + 8, kWhite), 20);
    EXPECT_GT(s.Count(w.left + 3, w.top + 25, w.left + 168, w.top + 36, kBlack), 300);
    EXPECT_GT(s.Count(w.left + 3, w.top + 25, w.left + 168, w.top + 36, kWhite), 20);
    // The black frame around it all.
    EXPECT_EQ(s.At(w.left, w.top), kBlack);
    EXPECT_EQ(s.At(w.right - 1, w.bottom - 1), kBlack);

    Click(kTrayX, kTrayY);
    EXPECT_TRUE(m.WaitVisible(false));
    Click(kTrayX, kTrayY, 3); // the right button does the same
    EXPECT_TRUE(m.WaitVisible(true));
    Click(kTrayX, kTrayY, 3);
    EXPECT_TRUE(m.WaitVisible(false));
}

TEST_F(MivraE2E, HoveringTheIconShowsItsTip) {
    Mivra m(*probe);
    // The tip opens just above the taskbar, to the left of the icon.
    auto changed = [](const Screenshot& a, const Screenshot& b) {
        int n = 0;
        for (int y = 700; y < 748; ++y)
            for (int x = 700; x < 1024; ++x)
                n += !(a.At(x, y) == b.At(x, y));
        return n;
    };
    const Screenshot before = Screenshot::Take();
    for (int x = kTrayX - 12; x <= kTrayX; x += 4)
        MoveTo(x, kTrayY);
    Screenshot after = before;
    EXPECT_TRUE(WaitUntil(
        [&] {
            after = Screenshot::Take();
            return changed(before, after) > 1000;
        },
        6s));
    Save(after, "tray-tip.png");
    EXPECT_FALSE(m.Window().visible);
}

TEST_F(MivraE2E, QuitTakesTheIconAwayAndEndsTheProgram) {
    Mivra m(*probe);
    ShowByTray(m);
    const WindowInfo w = m.Window();
    const Point quit = Label(w, 2352, 36, 192, 192);
    Click(quit.x, quit.y);
    EXPECT_TRUE(m.WaitForExit(10s));
    EXPECT_TRUE(WaitUntil([] { return !TrayIconShown(Screenshot::Take()); }, 5s));
}

TEST_F(MivraE2E, StepLabelsMoveTheGridAndHoldingRepeats) {
    Mivra m(*probe);
    ShowByTray(m);
    const WindowInfo w = m.Window();
    const auto today = LocalToday();
    const chr::year_month now = today.year() / today.month();

    const Point next = Button(w, 4), yearPrev = Button(w, 1), todayButton = Button(w, 3);
    Click(next.x, next.y);
    Sleep(300ms);
    EXPECT_TRUE(ShowsMonth(Screenshot::Take(), w, now + chr::months(1)));
    Click(yearPrev.x, yearPrev.y);
    Sleep(300ms);
    EXPECT_TRUE(ShowsMonth(Screenshot::Take(), w, now + chr::months(1) - chr::years(1)));
    Click(todayButton.x, todayButton.y);
    Sleep(300ms);
    EXPECT_TRUE(ShowsMonth(Screenshot::Take(), w, now));

    // Held for about a second: one step at once, then four a second.
    Press(next.x, next.y);
    Sleep(1050ms);
    Release();
    Sleep(400ms);
    const Screenshot s = Screenshot::Take();
    int moved = -1;
    for (int k = 3; k <= 7 && moved < 0; ++k)
        if (ShowsMonth(s, w, now + chr::months(k))) moved = k;
    EXPECT_GE(moved, 4);
    EXPECT_LE(moved, 6);
    // Released: the repeat has stopped.
    Sleep(600ms);
    EXPECT_TRUE(ShowsMonth(Screenshot::Take(), w, now + chr::months(moved)));
}

TEST_F(MivraE2E, TheTitleDragsWithTheLeftButtonOnlyAndHideHides) {
    Mivra m(*probe);
    ShowByTray(m);
    const WindowInfo w = m.Window();
    const Point title = Label(w, 24, 24, 2532, 348);
    Press(title.x - 40, title.y, 3);
    MoveTo(title.x - 140, title.y - 100);
    Release(3);
    Sleep(300ms);
    EXPECT_EQ(m.Window().left, w.left);

    Press(title.x - 40, title.y);
    MoveTo(title.x - 60, title.y - 20);
    MoveTo(title.x - 140, title.y - 100);
    Release();
    ASSERT_TRUE(WaitUntil([&] { return m.Window().left != w.left; }, 3s));
    const WindowInfo moved = m.Window();
    // The move loop follows the pointer from where the drag began.
    EXPECT_LE(moved.left, w.left - 70);
    EXPECT_GE(moved.left, w.left - 100);
    EXPECT_LE(moved.top, w.top - 70);
    EXPECT_GE(moved.top, w.top - 100);

    const Point hide = Button(moved, 0);
    Click(hide.x, hide.y);
    EXPECT_TRUE(m.WaitVisible(false));
    ShowByTray(m); // back where it was dragged to
    EXPECT_EQ(m.Window().left, moved.left);
}

TEST_F(MivraE2E, ColoursAreStoredOnFirstStartAndKeptAcrossRestarts) {
    { Mivra m(*probe); }
    const std::string stored = RegQuery(kSettingsKey);
    EXPECT_NE(stored.find("Clr_Labels    REG_SZ    8421376"), std::string::npos) << stored;
    EXPECT_NE(stored.find("Clr_Calendar    REG_SZ    16777215"), std::string::npos) << stored;

    // Another tool's number and a black label colour both survive a start.
    RegSet(kSettingsKey, "Clr_Calendar", "REG_DWORD", "255");
    RegSet(kSettingsKey, "Clr_Labels", "REG_SZ", "0");
    Mivra m(*probe);
    const std::string after = RegQuery(kSettingsKey);
    EXPECT_NE(after.find("Clr_Calendar    REG_DWORD    0xff"), std::string::npos) << after;
    EXPECT_NE(after.find("Clr_Labels    REG_SZ    0"), std::string::npos) << after;
    ShowByTray(m);
    const WindowInfo w = m.Window();
    const Screenshot s = Screenshot::Take();
    Save(s, "calendar-red.png");
    // The face of the grid is red now.
    const CellBox first = Cell(w, 0), last = Cell(w, 41);
    EXPECT_GT(s.Count(first.l, first.t, last.r, last.b, kRed),
              (last.r - first.l) * (last.b - first.t) / 2);
    const Point title = Label(w, 24, 24, 2532, 348);
    EXPECT_GT(s.Count(title.x - 60, title.y - 8, title.x + 60, title.y + 8, kBlack), 300);
}

// Wine takes the DPI from LogPixels when a program starts.
class MivraDpiE2E : public MivraE2E, public ::testing::WithParamInterface<int> {
protected:
    void TearDown() override {
        RegSet("HKCU\\Control Panel\\Desktop", "LogPixels", "REG_DWORD", "96");
    }
};

TEST_P(MivraDpiE2E, TheCalendarScalesWithTheScreen) {
    const int dpi = GetParam();
    RegSet("HKCU\\Control Panel\\Desktop", "LogPixels", "REG_DWORD", std::to_string(dpi));
    Mivra m(*probe);
    ASSERT_TRUE(m.Started());
    const WindowInfo hidden = m.Window();
    auto px = [dpi](int tw) { return int(std::lround(tw * dpi / 1440.0)); };
    EXPECT_NEAR(hidden.clientWidth, px(2580), 1);
    EXPECT_NEAR(hidden.clientHeight, px(3084), 1);
    ShowByTray(m);
    const WindowInfo w = m.Window();
    const Screenshot s = Screenshot::Take();
    Save(s, "calendar-" + std::to_string(dpi) + "dpi.png");
    const auto today = LocalToday();
    EXPECT_TRUE(ShowsMonth(s, w, today.year() / today.month(), dpi));
    // Borders stay one pixel wide: the frame is black right at the edge and
    // the title's colour starts at 24 twips in.
    EXPECT_EQ(s.At(w.left + px(24) - 1, w.top + px(100)), kBlack);
    EXPECT_EQ(s.At(w.left + px(24) + 1, w.top + px(100)), kCyan);
}

INSTANTIATE_TEST_SUITE_P(Scales, MivraDpiE2E, ::testing::Values(120, 144));

} // namespace
} // namespace mivra::e2e
