#include "base/contrast.h"

#include <gtest/gtest.h>

#include "app/calendar_app.h"
#include "tests/support/app_fakes.h"
#include "tests/support/contrast_themes.h"

namespace mivra {
namespace {

// A system colour source with a theme of its own.
struct Theme : SystemColors {
    const test::ContrastTheme& colors;
    bool on = true;
    explicit Theme(const test::ContrastTheme& theme) : colors(theme) {}
    bool HighContrast() const override { return on; }
    Color Get(SysColor c) const override { return test::ThemeColor(colors, c, 0x00123456); }
};

TEST(Contrast, OffEveryElementKeepsItsOwnColoursWithSystemOnesResolved) {
    Theme t(test::kLightContrast);
    t.on = false;
    for (Ink ink : {Ink::Frame, Ink::Day, Ink::Today, Ink::Bar, Ink::Pressed, Ink::Link}) {
        const InkColors c = PaintColors(ink, {0x00808000, SystemColor(SysColor::WindowText)}, t);
        EXPECT_EQ(c.back, 0x00808000u);
        EXPECT_EQ(c.fore, 0x00000000u) << "the window-text colour of the theme";
    }
    EXPECT_EQ(LineColor(t), 0x000000u); // the window frame's
}

TEST(Contrast, OnEachKindTakesItsSystemColoursAndNeighboursStayApart) {
    for (const Theme& t : {Theme(test::kDarkContrast), Theme(test::kLightContrast)}) {
        auto paint = [&](Ink ink) { return PaintColors(ink, {0x00808000, 0x00FFFFFF}, t); };
        auto is = [&](Ink ink, int back, int fore) {
            const InkColors c = paint(ink);
            return c.back == t.Get(SysColor(back)) && c.fore == t.Get(SysColor(fore));
        };
        EXPECT_TRUE(is(Ink::Day, 5, 8));
        EXPECT_TRUE(is(Ink::Sunday, 5, 26));
        EXPECT_TRUE(is(Ink::OtherMonthDay, 5, 17));
        EXPECT_TRUE(is(Ink::Today, 13, 14));
        EXPECT_TRUE(is(Ink::Bar, 15, 18));
        EXPECT_TRUE(is(Ink::Pressed, 13, 14));
        EXPECT_TRUE(is(Ink::Panel, 5, 8));
        EXPECT_TRUE(is(Ink::Link, 5, 26));
        EXPECT_EQ(paint(Ink::Frame).back, t.Get(SysColor::WindowText));
        EXPECT_EQ(LineColor(t), t.Get(SysColor::WindowText));

        // What stands side by side can be told apart in either theme.
        EXPECT_NE(paint(Ink::Day).back, paint(Ink::Today).back);
        EXPECT_NE(paint(Ink::Day).fore, paint(Ink::OtherMonthDay).fore);
        EXPECT_NE(paint(Ink::Day).fore, paint(Ink::Sunday).fore);
        EXPECT_NE(paint(Ink::Bar).back, paint(Ink::Frame).back);
        EXPECT_NE(paint(Ink::Bar).back, paint(Ink::Pressed).back);
        EXPECT_NE(paint(Ink::Panel).fore, paint(Ink::Link).fore);
        // And text stands out from its ground.
        for (Ink ink : {Ink::Day, Ink::Sunday, Ink::OtherMonthDay, Ink::Today, Ink::Bar,
                        Ink::Pressed, Ink::Panel, Ink::Link})
            EXPECT_NE(paint(ink).back, paint(ink).fore) << static_cast<int>(ink);
    }
}

class ContrastKinds : public ::testing::Test, protected test::AppRig {};

TEST_F(ContrastKinds, EveryCalendarLabelSaysWhatItIs) {
    StartOn(test::D(2000, 10, 18)); // a Wednesday, in cell 24
    EXPECT_EQ(app.Label(Day(24)).ink, Ink::Today);
    EXPECT_EQ(app.Label(Day(23)).ink, Ink::Day);
    EXPECT_EQ(app.Label(Day(14)).ink, Ink::Sunday);
    EXPECT_EQ(app.Label(Day(0)).ink, Ink::OtherMonthDay); // 24 September
    EXPECT_EQ(app.Label(Day(41)).ink, Ink::OtherMonthDay);
    for (LabelId id : {LabelId::lblMonth, Dow(0), LabelId::lblQuit, LabelId::lblToday})
        EXPECT_EQ(app.Label(id).ink, Ink::Bar);
    app.OnMouseDown(LabelId::lblMonthNext);
    EXPECT_EQ(app.Label(LabelId::lblMonthNext).ink, Ink::Pressed);
    app.OnMouseUp(LabelId::lblMonthNext);
    EXPECT_EQ(app.Label(LabelId::lblMonthNext).ink, Ink::Bar);
    // November now: the 18 October mark is gone with its month.
    EXPECT_EQ(app.Label(Day(24)).ink, Ink::Day);
    EXPECT_EQ(app.Label(Day(0)).ink, Ink::OtherMonthDay);
}

} // namespace
} // namespace mivra
