// Cases that need a start of their own: stored values are read at start,
// and Wine takes the DPI from LogPixels when a program starts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "grid.h"

namespace mivra::e2e {
namespace {

class RestartE2E : public DesktopTest {
protected:
    void SetUp() override {
        StopApp();
        RegDelete(kSettingsKey);
        DesktopTest::SetUp();
    }
};

TEST_F(RestartE2E, StoredColoursSurviveAStartAndQuitTakesTheIconAway) {
    // Another tool's number and a black label colour both survive a start.
    RegSet(kSettingsKey, "Clr_Calendar", "REG_DWORD", "255");
    RegSet(kSettingsKey, "Clr_Labels", "REG_SZ", "0");
    Mivra m(probe());
    Start(m);
    EXPECT_TRUE(Stored("Clr_Calendar", "REG_DWORD", "0xff"));
    EXPECT_TRUE(Stored("Clr_Labels", "REG_SZ", "0"));
    const WindowInfo w = Shown(m);
    const Screenshot s = Screenshot::Take();
    s.Save("calendar-red.png");
    // The face of the grid is red now.
    const Rect grid{Cell(w, 0).left, Cell(w, 0).top, Cell(w, 41).right, Cell(w, 41).bottom};
    EXPECT_GT(s.Count(grid, kRed), grid.Area() / 2);
    EXPECT_GT(s.Count(AroundTitle(w), kBlack), 300);

    // The "x" ends the program and takes its icon away.
    Click(Quit(w));
    EXPECT_TRUE(WaitUntil([&] { return !m.Running(); }, 10s));
    EXPECT_TRUE(WaitUntil([&] { return !TrayIconShown(Screenshot::Take()); }));
}

// The DPIs to try, from MIVRA_E2E_DPIS ("120,144" unless set).
std::vector<int> Dpis() {
    const char* v = std::getenv("MIVRA_E2E_DPIS");
    std::istringstream in(v && *v ? v : "120,144");
    std::vector<int> dpis;
    for (std::string item; std::getline(in, item, ',');)
        dpis.push_back(std::atoi(item.c_str()));
    return dpis;
}

class MivraDpiE2E : public RestartE2E, public ::testing::WithParamInterface<int> {
protected:
    void TearDown() override {
        RegSet("HKCU\\Control Panel\\Desktop", "LogPixels", "REG_DWORD", "96");
        RestartE2E::TearDown();
    }
};

TEST_P(MivraDpiE2E, TheCalendarScalesWithTheScreen) {
    const int dpi = GetParam();
    RegSet("HKCU\\Control Panel\\Desktop", "LogPixels", "REG_DWORD", std::to_string(dpi));
    Mivra m(probe());
    Start(m);
    const WindowInfo hidden = m.Window();
    EXPECT_NEAR(hidden.clientWidth, Px(2580, dpi), 1);
    EXPECT_NEAR(hidden.clientHeight, Px(3084, dpi), 1);
    const WindowInfo w = Shown(m);
    const Screenshot s = Screenshot::Take();
    s.Save("calendar-" + std::to_string(dpi) + "dpi.png");
    EXPECT_TRUE(ShowsMonth(s, w, ThisMonth(), dpi));
    // Borders stay one pixel wide: the frame is black right at the edge and
    // the title's colour starts at 24 twips in.
    EXPECT_EQ(s.At(w.left + Px(24, dpi) - 1, w.top + Px(100, dpi)), kBlack);
    EXPECT_EQ(s.At(w.left + Px(24, dpi) + 1, w.top + Px(100, dpi)), kCyan);
}

INSTANTIATE_TEST_SUITE_P(Scales, MivraDpiE2E, ::testing::ValuesIn(Dpis()));

} // namespace
} // namespace mivra::e2e
