// The options window and the colour picker, used by hand through the real
// program in the Wine desktop.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <glob.h>

#include "harness.h"

namespace mivra::e2e {
namespace {

const Rgb kBlue{0, 0, 255}, kCyan{0, 128, 128};

// The client area's top-left on screen, from the outer rectangle and the
// client size (frames are even on left, right and bottom).
Point ClientOrigin(const WindowInfo& w) {
    const int border = ((w.right - w.left) - w.clientWidth) / 2;
    return {w.left + border, w.bottom - border - w.clientHeight};
}

Point Centre(const WindowInfo& w) {
    return {(w.left + w.right) / 2, (w.top + w.bottom) / 2};
}

std::string StartupShortcut() {
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix) return {};
    const std::string pattern = std::string(prefix) +
                                "/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start "
                                "Menu/Programs/[Ss]tart[Uu]p/Mivra.lnk"; // Wine spells it StartUp
    glob_t g{};
    std::string found;
    if (glob(pattern.c_str(), 0, nullptr, &g) == 0 && g.gl_pathc > 0) found = g.gl_pathv[0];
    globfree(&g);
    return found;
}

class OptionsE2E : public DesktopTest {
protected:
    // Opens the calendar from the icon and the options window from "?".
    WindowInfo OpenOptions(Mivra& m) {
        ShowByTray(m);
        const Point about = LabelCentre(m.Window(), 24 + 360 * 6, 2736, 372, 324);
        Click(about.x, about.y);
        const auto w = WaitShown("About_Mivra");
        EXPECT_TRUE(w);
        return w.value_or(WindowInfo{});
    }
    void Press(const WindowInfo& options, const std::string& text) {
        auto b = probe().Child(options.hwnd, "Button", text);
        ASSERT_TRUE(b) << text;
        const Point c = Centre(*b);
        Click(c.x, c.y);
    }
};

TEST_F(OptionsE2E, PickingAColourRepaintsAndStoresItAndResetRestores) {
    Mivra& m = App();
    const WindowInfo options = OpenOptions(m);
    // Centred on the 1024x768 screen.
    EXPECT_NEAR((options.left + options.right) / 2, 512, 2);
    EXPECT_NEAR((options.top + options.bottom) / 2, 384, 2);
    EXPECT_EQ(options.clientWidth, Px(3204));
    EXPECT_EQ(options.clientHeight, Px(4956));
    // While it is open, the calendar's "x" does nothing.
    const WindowInfo cal = m.Window();
    const Point quit = LabelCentre(cal, 2352, 36, 192, 192);
    Click(quit.x, quit.y);
    Sleep(500ms); // nothing should happen; give it the chance
    EXPECT_TRUE(m.Running());
    EXPECT_TRUE(m.Window().visible);

    Press(options, "Adjust_Calendar_Color");
    auto picker = WaitShown("Color_Picker");
    ASSERT_TRUE(picker);
    // Cancel: no colour changes, nothing written.
    Press(*picker, "Cancel");
    ASSERT_TRUE(WaitUntil([&] { return !probe().Find("*", "Color_Picker"); }, 10s));
    EXPECT_NE(RegQuery(kSettingsKey).find("Clr_Calendar    REG_SZ    16777215"), std::string::npos);

    Press(options, "Adjust_Calendar_Color");
    picker = WaitShown("Color_Picker");
    ASSERT_TRUE(picker);
    const Point origin = ClientOrigin(*picker);
    // Cell 9, blue: second row, second column.
    Click(origin.x + Px(495) + Px(495) / 2, origin.y + Px(375) + Px(375) / 2);
    ASSERT_TRUE(WaitUntil([&] { return !probe().Find("*", "Color_Picker"); }, 10s));
    EXPECT_NE(RegQuery(kSettingsKey).find("Clr_Calendar    REG_SZ    16711680"), std::string::npos)
        << RegQuery(kSettingsKey);
    // The calendar's face and the options panel turn blue.
    const int gridArea = (cal.right - cal.left) * 150;
    const int optionsArea = (options.right - options.left) * (options.bottom - options.top);
    Screenshot s = Screenshot::Take();
    EXPECT_TRUE(WaitUntil(
        [&] {
            s = Screenshot::Take();
            return s.Count(cal.left, cal.top + 40, cal.right, cal.top + 190, kBlue) >
                       gridArea / 3 &&
                   s.Count(options.left, options.top, options.right, options.bottom, kBlue) >
                       optionsArea / 3;
        },
        10s));
    Save(s, "options.png");

    Press(options, "Reset_Colors_to_Default");
    std::string stored;
    EXPECT_TRUE(WaitUntil(
        [&] {
            stored = RegQuery(kSettingsKey);
            return stored.find("Clr_Calendar    REG_SZ    16777215") != std::string::npos;
        },
        10s))
        << stored;
    EXPECT_NE(stored.find("Clr_Labels    REG_SZ    8421376"), std::string::npos) << stored;
    EXPECT_TRUE(WaitUntil(
        [&] {
            s = Screenshot::Take();
            return s.Count(cal.left, cal.top, cal.right, cal.bottom, kBlue) == 0 &&
                   s.Count(cal.left, cal.top, cal.right, cal.top + 20, kCyan) > 300;
        },
        10s));

    Press(options, "OK");
    EXPECT_TRUE(WaitUntil(
        [&] { return !probe().Find("*", "About_Mivra").value_or(WindowInfo{}).visible; }, 10s));
}

TEST_F(OptionsE2E, TheCheckBoxCreatesAndDeletesTheStartupShortcut) {
    const std::string before = StartupShortcut();
    if (!before.empty()) std::filesystem::remove(before);
    Mivra& m = App();
    const WindowInfo options = OpenOptions(m);
    auto box = probe().Child(options.hwnd, "Button", "Run_\"Mivra\"_on_Windows_Startup");
    ASSERT_TRUE(box);
    EXPECT_EQ(probe().Ask("check " + box->hwnd), "0");
    Click(box->left + 6, (box->top + box->bottom) / 2);
    ASSERT_TRUE(WaitUntil([] { return !StartupShortcut().empty(); }, 10s));
    EXPECT_EQ(probe().Ask("check " + box->hwnd), "1");
    Click(box->left + 6, (box->top + box->bottom) / 2);
    EXPECT_TRUE(WaitUntil([] { return StartupShortcut().empty(); }, 10s));
    EXPECT_EQ(probe().Ask("check " + box->hwnd), "0");
    Press(options, "OK");
}

} // namespace
} // namespace mivra::e2e
