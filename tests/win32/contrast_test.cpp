// The real windows in high contrast. Wine always reports the mode off, so
// the windows are told it is on through their system colour source; the
// dark contrast theme's colours are set for real with SetSysColors.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "tests/support/calendar_window_rig_win32.h"
#include "tests/support/dib_canvas_win32.h"
#include "tests/support/system_colors_win32.h"

namespace mivra {
namespace {

using test::DarkContrastTheme;

const auto Sys = &GetSysColor;

class ContrastTest : public ::testing::Test, protected test::CalendarWindowRig {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start());
        about = &dialogs.Make(window.Handle());
        ASSERT_TRUE(about->Load());
        ASSERT_TRUE(picker.Load());
    }
    void TearDown() override { Stop(); }

    OptionsWindow* about = nullptr;
    ColorPickerWindow& picker = dialogs.picker;
};

TEST_F(ContrastTest, EveryPaintedElementTakesTheSystemColourOfItsKind) {
    const DarkContrastTheme theme;
    colors.contrast = true;

    // The calendar on 18 October 2000: frame and grid lines, the days by
    // kind, today, the bars and a held button.
    app->OnMouseDown(LabelId::lblMonthPrev);
    app->OnMouseUp(LabelId::lblMonthPrev);
    app->OnClick(LabelId::lblToday);
    app->OnMouseDown(LabelId::lblAbout);
    const test::DibCanvas cal(window.Handle());
    auto inside = [&](LabelId id) {
        const RECT r = window.LabelRect(id);
        return cal.At(r.left + 2, r.bottom - 3);
    };
    auto holds = [&](LabelId id, COLORREF c) { return cal.Holds(window.LabelRect(id), c); };
    EXPECT_EQ(cal.At(0, 0), Sys(COLOR_WINDOWTEXT)) << "frame";
    const RECT cell = window.LabelRect(Day(23));
    EXPECT_EQ(cal.At(cell.left, cell.top), Sys(COLOR_WINDOWTEXT)) << "grid line";
    EXPECT_EQ(inside(Day(23)), Sys(COLOR_WINDOW));
    EXPECT_TRUE(holds(Day(23), Sys(COLOR_WINDOWTEXT))); // the 17th
    EXPECT_TRUE(holds(Day(21), Sys(COLOR_HOTLIGHT)));   // Sunday the 15th
    EXPECT_TRUE(holds(Day(0), Sys(COLOR_GRAYTEXT)));    // 24 September
    EXPECT_EQ(inside(Day(24)), Sys(COLOR_HIGHLIGHT));   // today
    EXPECT_TRUE(holds(Day(24), Sys(COLOR_HIGHLIGHTTEXT)));
    for (LabelId id : {LabelId::lblMonth, Dow(3), LabelId::lblHide, LabelId::lblQuit}) {
        EXPECT_EQ(inside(id), Sys(COLOR_BTNFACE)) << Design(id).name;
        EXPECT_TRUE(holds(id, Sys(COLOR_BTNTEXT))) << Design(id).name;
    }
    EXPECT_EQ(inside(LabelId::lblAbout), Sys(COLOR_HIGHLIGHT)) << "held";
    app->OnMouseUp(LabelId::lblAbout);

    // The options window: panel, texts, link and the check box's ground.
    const test::DibCanvas opt(about->Handle());
    auto control = [&](OptionsControl c) { return ToRect(ControlPixels(c, about->Dpi())); };
    const RECT panel = control(OptionsControl::shpPanel);
    EXPECT_EQ(opt.At(0, 0), Sys(COLOR_WINDOWTEXT)) << "frame";
    EXPECT_EQ(opt.At(panel.left + 2, panel.bottom - 3), Sys(COLOR_WINDOW));
    EXPECT_TRUE(opt.Holds(control(OptionsControl::lblTitle), Sys(COLOR_WINDOWTEXT)));
    EXPECT_TRUE(opt.Holds(control(OptionsControl::lblContact), Sys(COLOR_HOTLIGHT)));
    const test::DibCanvas box(1, 1);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(about->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(box.Dc()),
                     reinterpret_cast<LPARAM>(about->Control(OptionsControl::cbxLoadWW))));
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObjectW(brush, sizeof(lb), &lb));
    EXPECT_EQ(std::tuple(lb.lbColor, GetBkColor(box.Dc()), GetTextColor(box.Dc())),
              std::tuple(Sys(COLOR_WINDOW), Sys(COLOR_WINDOW), Sys(COLOR_WINDOWTEXT)));

    // A picker cell keeps its colour, framed so it shows on any ground:
    // black on the black window, white on white text colour.
    const test::DibCanvas pick(picker.Handle());
    for (int i : {0, 15}) {
        const RECT r = picker.CellRect(i);
        const int y = (r.top + r.bottom) / 2;
        EXPECT_EQ(pick.At(r.left, y), Sys(COLOR_WINDOWTEXT)) << i;
        EXPECT_EQ(pick.At(r.left + 1, y), Sys(COLOR_WINDOW)) << i;
        EXPECT_EQ(pick.At(r.left + 2, y), static_cast<COLORREF>(kPalette[i])) << i;
    }

    // Off again: the user's colours, which were neither read nor written.
    colors.contrast = false;
    EXPECT_EQ(test::DibCanvas(window.Handle()).At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(inside(Day(24)), Sys(COLOR_HIGHLIGHT)) << "the picture above, taken before";
    const test::DibCanvas normal(window.Handle());
    const RECT today = window.LabelRect(Day(24));
    EXPECT_EQ(normal.At(today.left + 2, today.bottom - 3), static_cast<COLORREF>(state.LabelColor));
}

TEST_F(ContrastTest, ASwitchOfTheModeOrTheThemeRepaintsEveryOpenWindowAtOnce) {
    const std::vector<HWND> tops = {window.Handle(), about->Handle(), picker.Handle()};
    for (HWND w : tops)
        ShowWindow(w, SW_SHOWNA);
    // Every window and control the user sees.
    std::vector<HWND> shown = {window.Handle(), about->Handle(), picker.Handle(),
                               picker.CancelButton()};
    for (const auto& s : OptionsLayout())
        if (HWND c = about->Control(s.id)) shown.push_back(c);
    const auto valid = [](HWND w) { return !GetUpdateRect(w, nullptr, FALSE); };
    auto painted = [&] {
        return test::PumpUntil([&] { return std::ranges::all_of(shown, valid); });
    };
    auto onScreen = [](HWND w, int x, int y) {
        HDC dc = GetDC(w);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(w, dc);
        return c;
    };
    ASSERT_TRUE(painted());
    ASSERT_EQ(onScreen(window.Handle(), 0, 0), RGB(0, 0, 0));

    // A contrast theme comes: what is on the screen follows at once.
    colors.contrast = true;
    const DarkContrastTheme theme;
    ASSERT_TRUE(painted());
    EXPECT_EQ(onScreen(window.Handle(), 0, 0), Sys(COLOR_WINDOWTEXT));
    const RECT panel = ToRect(ControlPixels(OptionsControl::shpPanel, about->Dpi()));
    EXPECT_EQ(onScreen(about->Handle(), panel.left + 2, panel.bottom - 3), Sys(COLOR_WINDOW));

    // Each way the system tells of a change repaints every window and
    // control, whether or not the system repaints as well.
    const std::pair<UINT, WPARAM> changes[] = {
        {WM_SYSCOLORCHANGE, 0}, {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST}, {WM_THEMECHANGED, 0}};
    for (auto [msg, wp] : changes) {
        SCOPED_TRACE(msg);
        for (HWND w : tops)
            SendMessageW(w, msg, wp, 0);
        for (HWND w : shown) {
            if (!IsWindowVisible(w)) continue;
            wchar_t name[64] = {};
            GetClassNameW(w, name, 64);
            EXPECT_TRUE(GetUpdateRect(w, nullptr, FALSE))
                << testing::PrintToString(std::wstring(name));
        }
        ASSERT_TRUE(painted());
    }
    colors.contrast = false;
}

} // namespace
} // namespace mivra
