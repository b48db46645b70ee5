// The options window and the colour picker, used by hand through the real
// program in the Wine desktop.
#include <gtest/gtest.h>

#include "grid.h"

namespace mivra::e2e {
namespace {

// The shortcut in the Startup folder, as a shell pattern (Wine spells the
// folder StartUp).
const std::string kShortcut = "\"$WINEPREFIX\"/drive_c/users/*/AppData/Roaming/Microsoft/"
                              "Windows/'Start Menu'/Programs/[Ss]tart[Uu]p/Mivra.lnk";

class OptionsE2E : public DesktopTest {
protected:
    // Opens the calendar from the icon and the options window from "?".
    WindowInfo OpenOptions(Mivra& m) {
        Click(Button(Shown(m), 6));
        const auto w = WaitShown("About_Mivra");
        EXPECT_TRUE(w);
        return w.value_or(WindowInfo{});
    }
    void PressButton(const WindowInfo& parent, const std::string& text) {
        auto b = probe().Find("Button", text, parent.hwnd);
        ASSERT_TRUE(b) << text;
        Click(b->Centre());
    }
};

TEST_F(OptionsE2E, PickingAColourRepaintsAndStoresItAndResetRestores) {
    Mivra& m = App();
    const WindowInfo options = OpenOptions(m);
    // Centred on the 1024x768 screen.
    EXPECT_NEAR(options.Centre().x, 512, 2);
    EXPECT_NEAR(options.Centre().y, 384, 2);
    EXPECT_EQ(std::pair(options.clientWidth, options.clientHeight), std::pair(Px(3204), Px(4956)));
    // While it is open, the calendar's "x" does nothing.
    const WindowInfo cal = m.Window();
    Click(Quit(cal));
    Sleep(500ms); // nothing should happen; give it the chance
    EXPECT_TRUE(m.Running());
    EXPECT_TRUE(m.Window().visible);

    // Cancel changes no colour and writes nothing; cell 9 of the picker,
    // blue, is taken at once.
    for (const bool cancel : {true, false}) {
        PressButton(options, "Adjust_Calendar_Color");
        const auto picker = WaitShown("Color_Picker");
        ASSERT_TRUE(picker);
        if (cancel) {
            PressButton(*picker, "Cancel");
        } else {
            // Second row, second column, from the client area's top-left
            // (frames are even on left, right and bottom).
            const int border = (picker->right - picker->left - picker->clientWidth) / 2;
            Click({picker->left + border + Px(495) * 3 / 2,
                   picker->bottom - border - picker->clientHeight + Px(375) * 3 / 2});
        }
        ASSERT_TRUE(WaitUntil([&] { return !probe().Find("*", "Color_Picker"); }));
        EXPECT_TRUE(Stored("Clr_Calendar", "REG_SZ", cancel ? "16777215" : "16711680"));
    }
    // The calendar's face and the options panel turn blue.
    const Rect face{cal.left, cal.top + 40, cal.right, cal.top + 190};
    Screenshot s = Screenshot::Take();
    EXPECT_TRUE(WaitUntil([&] {
        return (s = Screenshot::Take()).Count(face, kBlue) > face.Area() / 3 &&
               s.Count(options, kBlue) > options.Area() / 3;
    }));
    s.Save("options.png");

    PressButton(options, "Reset_Colors_to_Default");
    EXPECT_TRUE(Eventually([] { return Stored("Clr_Calendar", "REG_SZ", "16777215"); }));
    EXPECT_TRUE(Stored("Clr_Labels", "REG_SZ", "8421376"));
    EXPECT_TRUE(WaitUntil([&] {
        return (s = Screenshot::Take()).Count(cal, kBlue) == 0 &&
               s.Count({cal.left, cal.top, cal.right, cal.top + 20}, kCyan) > 300;
    }));

    PressButton(options, "OK");
    EXPECT_TRUE(WaitUntil(
        [&] { return !probe().Find("*", "About_Mivra").value_or(WindowInfo{}).visible; }));
}

TEST_F(OptionsE2E, TheCheckBoxCreatesAndDeletesTheStartupShortcut) {
    Shell("rm -f " + kShortcut);
    const auto made = [] { return !Shell("ls " + kShortcut + " 2>/dev/null").empty(); };
    const WindowInfo options = OpenOptions(App());
    auto box = probe().Find("Button", "Run_\"Mivra\"_on_Windows_Startup", options.hwnd);
    ASSERT_TRUE(box);
    EXPECT_EQ(probe().Ask("check " + box->hwnd), "0");
    const Point tick{box->left + 6, box->Centre().y};
    Click(tick);
    ASSERT_TRUE(WaitUntil(made));
    EXPECT_EQ(probe().Ask("check " + box->hwnd), "1");
    Click(tick);
    EXPECT_TRUE(WaitUntil([&] { return !made(); }));
    EXPECT_EQ(probe().Ask("check " + box->hwnd), "0");
    PressButton(options, "OK");
}

} // namespace
} // namespace mivra::e2e
