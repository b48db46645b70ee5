#include "settings/options_window_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/calendar_app.h"
#include "base/placement.h"
#include "tests/support/app_fakes.h"
#include "tests/support/dib_canvas_win32.h"
#include "tests/support/fake_registry.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/options_window_rig_win32.h"
#include "tests/support/refused_class_win32.h"
#include "tests/support/system_colors_win32.h"
#include "tests/support/window_rects_win32.h"

namespace mivra {
namespace {

using namespace test;
using enum OptionsControl;

// Steps run from whatever message loop is running (the modal ones too), each
// once it is ready, on a timer of the thread; after 5 seconds a rescue ends
// any modal loop left waiting. One script runs at a time.
class Script {
public:
    explicit Script(std::function<void()> rescue)
        : rescue_(std::move(rescue)), timer_(SetTimer(nullptr, 0, 10, Tick)),
          end_(GetTickCount64() + 5000) {
        running_ = this;
    }
    ~Script() {
        KillTimer(nullptr, timer_);
        if (running_ == this) running_ = nullptr;
    }
    void Then(std::function<bool()> ready, std::function<void()> action) {
        steps_.emplace_back(std::move(ready), std::move(action));
    }
    void Then(std::function<void()> action) {
        Then([] { return true; }, std::move(action));
    }
    bool Done() const { return steps_.empty(); }
    bool Rescued() const { return rescued_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        Script* self = running_;
        if (!self || self->rescued_) return;
        if (GetTickCount64() > self->end_) {
            self->rescued_ = true;
            self->steps_.clear();
            self->rescue_();
        } else if (!self->steps_.empty() && self->steps_.front().first()) {
            const auto step = std::move(self->steps_.front());
            self->steps_.pop_front();
            step.second();
        }
    }

    static inline Script* running_ = nullptr;
    std::deque<std::pair<std::function<bool()>, std::function<void()>>> steps_;
    std::function<void()> rescue_;
    UINT_PTR timer_;
    ULONGLONG end_;
    bool rescued_ = false;
};

// The options window's size at `dpi`, placed at x, y.
RECT Sized(int x, int y, int dpi) {
    return {x, y, x + TwipsToPixels(3204, dpi), y + TwipsToPixels(4956, dpi)};
}
// A mouse click as a window itself receives it; `twice` makes the second
// press the double click the system reports within the double-click time.
void ClickAt(HWND hwnd, LPARAM at, bool twice = false) {
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
    if (!twice) return;
    PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
}
// A press and a release, each where given, handled at once.
void Drag(HWND hwnd, LPARAM down, LPARAM up) {
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, down);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, up);
}

constexpr const wchar_t* kLink = L"C:\\Startup\\Mivra.lnk";

// The options window over the real logic, owned by a stand-in for the
// calendar window, on the default colours.
class OptionsWindowTest : public ::testing::Test, protected AppFakes {
protected:
    void SetUp() override {
        state.DayTextColor = kDayTextColor;
        state.DefaultLabelColor = state.LabelColor = kDefaultSettings.LabelColor;
        state.DefaultCalendarColor = state.CalendarColor = kDefaultSettings.CalendarColor;
        registry.AddKey(kSettingsKeyPath);
        rig.paths = ComputeShortcutPaths(L"C:\\Startup", L"C:\\Apps\\Mivra.exe");
    }
    void TearDown() override {
        app.reset();
        rig.window.reset();
        DestroyWindow(calendar);
    }

    OptionsWindow& Make() {
        OptionsWindow& o = rig.Make(calendar);
        app = std::make_unique<CalendarApp>(
            state, CalendarApp::Services{clock, text, tray, icons, host, o, registry});
        o.Attach(app.get());
        return o;
    }

    void Click(OptionsControl id) {
        HWND c = rig.window->Control(id);
        PostMessageW(rig.window->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), BN_CLICKED),
                     Lp(c));
    }
    static RECT Rect(const TwipRect& t, int dpi) { return ToRect(WindowPixels(t, dpi)); }
    static LPARAM Lp(HWND hwnd) { return reinterpret_cast<LPARAM>(hwnd); }
    static void Key(HWND hwnd, WPARAM key) { PostMessageW(hwnd, WM_KEYDOWN, key, 0); }
    static LRESULT Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0); }
    static void ClickControl(HWND c, bool twice = false) { ClickAt(c, MAKELPARAM(3, 3), twice); }
    bool PickerUp() { return rig.picker.Handle() != nullptr; }
    void EscInPicker() { Key(rig.picker.CancelButton(), VK_ESCAPE); }
    // Loaded and on the screen, without the focus.
    HWND Shown(OptionsWindow& w) {
        EXPECT_TRUE(w.Load());
        ShowWindow(w.Handle(), SW_SHOWNA);
        return w.Handle();
    }

    std::function<void()> Rescue() {
        return [this] {
            OptionsWindow& o = *rig.window;
            if (HWND p = o.Picker().Handle()) PostMessageW(p, WM_CLOSE, 0, 0);
            if (o.Handle())
                PostMessageW(o.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             Lp(o.Control(cmdClose)));
        };
    }

    size_t Writes() const { return registry.CallsOf(FakeRegistry::Op::Set).size(); }

    TestSystemColors colors;
    OptionsWindowRig rig{state, registry, colors};
    FakeShortcutFiles& files = rig.files;
    HWND calendar = CreateWindowExW(0, L"STATIC", L"calendar", WS_POPUP, 0, 0, 20, 20, nullptr,
                                    nullptr, nullptr, nullptr);
    FakeWindow host;
    std::unique_ptr<CalendarApp> app;
    OptionsWindow& o = Make(); // made, not loaded
};

TEST_F(OptionsWindowTest, LoadMakesItHiddenCentredWithItsControlsInTabOrder) {
    // Asking and recolouring create nothing and leave the disk alone.
    EXPECT_FALSE(o.IsVisible());
    o.ApplyColors(kPalette[2]);
    EXPECT_FALSE(o.IsLoaded());
    EXPECT_EQ(rig.pathLoads, 0);
    ASSERT_TRUE(o.Load());
    EXPECT_EQ(rig.pathLoads, 1);
    HWND w = o.Handle();
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_EQ(WindowText(w), L"About Mivra");
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) &
                  (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU),
              WS_POPUP);

    const int dpi = o.Dpi();
    EXPECT_EQ(Box(ClientArea(w)), Box(Sized(0, 0, dpi)));
    const PixelPoint at = CentredPlacement(GetSystemMetrics(SM_CXSCREEN),
                                           GetSystemMetrics(SM_CYSCREEN), 3204, 4956, dpi);
    EXPECT_EQ(Box(OuterRect(w)), Box(Sized(at.x, at.y, dpi))) << "borderless";

    for (const auto& s : OptionsLayout()) {
        HWND c = o.Control(s.id);
        if (s.kind == ControlKind::Label || s.kind == ControlKind::Shape) {
            EXPECT_EQ(c, nullptr) << s.name << " is painted, not a window";
            continue;
        }
        ASSERT_NE(c, nullptr) << s.name;
        EXPECT_EQ(WindowText(c), s.caption) << s.name;
        EXPECT_EQ(Box(ChildRect(c)), Box(Rect(s.rect, dpi))) << s.name;
        const LONG_PTR type = s.kind == ControlKind::CheckBox ? BS_AUTOCHECKBOX
                              : s.id == cmdClose              ? BS_DEFPUSHBUTTON
                                                              : BS_PUSHBUTTON;
        EXPECT_EQ(GetWindowLongPtrW(c, GWL_STYLE) & 0x0F, type) << s.name;
    }
    EXPECT_EQ(GetDlgCtrlID(o.Control(cmdClose)), IDOK);
    EXPECT_EQ(SendMessageW(w, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    EXPECT_TRUE(GetWindowLongPtrW(o.Control(cbxLoadWW), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(Checked(o.Control(cbxLoadWW)), BST_UNCHECKED);

    // Tab walks OK, check box, the three colour buttons, home page, and round.
    const auto order = OptionsFocusOrder();
    HWND c = o.Control(order[0]);
    for (std::size_t i = 1; i <= order.size(); ++i) {
        c = GetNextDlgTabItem(w, c, FALSE);
        EXPECT_EQ(c, o.Control(order[i % order.size()])) << i;
    }

    // The pointing hand over the home-page button.
    EXPECT_TRUE(SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(o.Control(cmdHomePage)),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

    // Later loads find it loaded: the load steps do not run again.
    ASSERT_TRUE(o.Load());
    o.ApplyColors(kPalette[2]);
    EXPECT_FALSE(o.IsVisible());
    EXPECT_EQ(rig.pathLoads, 1);
}

TEST_F(OptionsWindowTest, PanelAndCheckBoxShowTheCalendarColourUnderPaintedLabels) {
    ASSERT_TRUE(o.Load());
    o.ApplyColors(kPalette[10]);
    const int dpi = o.Dpi();
    const RECT client = ClientArea(o.Handle()), panel = Rect(Design(shpPanel).rect, dpi);
    const POINT bare{panel.left + 3, TwipsToPixels(2900, dpi)};
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    const RECT author = Rect(Design(lblAuthor).rect, dpi),
               link = Rect(Design(lblContact).rect, dpi);
    {
        DibCanvas canvas(o.Handle());
        EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0)) << "black frame";
        EXPECT_EQ(canvas.At(client.right - 1, client.bottom - 1), RGB(0, 0, 0));
        // Between the check box and OK nothing covers the panel, a solid fill
        // to its edges with the black frame right outside.
        EXPECT_EQ(canvas.At(bare.x, bare.y), kPalette[10]);
        const RECT painted = ToRect(ControlPixels(shpPanel, dpi));
        EXPECT_EQ(canvas.At(painted.left, painted.top), kPalette[10]);
        EXPECT_EQ(canvas.At(painted.right - 1, painted.bottom - 1), kPalette[10]);
        EXPECT_EQ(canvas.At(painted.left - 1, painted.top - 1), RGB(0, 0, 0));
        EXPECT_TRUE(canvas.Holds(Rect(Design(lblTitle).rect, dpi), text));
        EXPECT_TRUE(canvas.Holds(link, kLinkColor)) << "the mail link in dark blue";
        EXPECT_FALSE(canvas.Holds(author, kLinkColor));
        EXPECT_NE(SendMessageW(o.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.Dc()),
                               Lp(o.Control(cbxLoadWW))),
                  0);
        EXPECT_EQ(GetBkColor(canvas.Dc()), kPalette[10]);
        // A repaint of the title paints no other label.
        const DibCanvas part(client.right, client.bottom);
        const RECT title = Rect(Design(lblTitle).rect, dpi);
        o.PaintContent(part.Dc(), title);
        EXPECT_TRUE(part.Holds(title, text));
        EXPECT_FALSE(part.Holds(author, text));
    }

    // A colour change of the calendar reaches the panel through ApplyColors.
    state.CalendarColor = kPalette[12];
    app->ApplyColors();
    EXPECT_EQ(o.PanelColor(), kPalette[12]);
    EXPECT_EQ(DibCanvas(o.Handle()).At(bare.x, bare.y), kPalette[12]);
}

TEST_F(OptionsWindowTest, CheckBoxFollowsTheShortcutOnDiskAndHidesWithoutAStartupFolder) {
    files.files.insert(kLink);
    ASSERT_TRUE(o.Load());
    HWND check = o.Control(cbxLoadWW);
    EXPECT_EQ(Checked(check), BST_CHECKED) << "present at load";

    auto clickTo = [&](WPARAM value) {
        SendMessageW(check, BM_SETCHECK, value, 0);
        SendMessageW(o.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(check), BN_CLICKED),
                     Lp(check));
        return Checked(check);
    };
    EXPECT_EQ(clickTo(BST_UNCHECKED), BST_UNCHECKED);
    EXPECT_TRUE(files.files.empty());
    files.createWorks = false;
    EXPECT_EQ(clickTo(BST_CHECKED), BST_UNCHECKED) << "a failed create never shows ticked";
    files.createWorks = true;
    EXPECT_EQ(clickTo(BST_CHECKED), BST_CHECKED);
    EXPECT_EQ(files.files.count(kLink), 1u);

    rig.window.reset();
    rig.paths.reset();
    OptionsWindow& bare = Make();
    ASSERT_TRUE(bare.Load());
    EXPECT_FALSE(GetWindowLongPtrW(bare.Control(cbxLoadWW), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(GetNextDlgTabItem(bare.Handle(), bare.Control(cmdClose), FALSE),
              bare.Control(cmd_Cal_Clr))
        << "Tab passes the hidden box by";
}

TEST_F(OptionsWindowTest, ShowModalBlocksTheCalendarAndTheKeysWorkAsInADialogUntilOk) {
    ASSERT_TRUE(o.Load());
    const HWND w = o.Handle(), ok = o.Control(cmdClose), reset = o.Control(cmd_Clr_Def);
    state.LabelColor = kPalette[1];
    Script script(Rescue());
    script.Then([&] {
        EXPECT_FALSE(IsWindowEnabled(calendar));
        EXPECT_TRUE(IsWindowVisible(w));
        EXPECT_EQ(GetFocus(), ok) << "the window opens with the focus on OK";
        // A push button with the focus is the one Enter presses.
        SetFocus(reset);
        Key(reset, VK_RETURN);
    });
    script.Then([&] { return state.LabelColor == kDefaultSettings.LabelColor; },
                [&] {
                    EXPECT_EQ(LOWORD(SendMessageW(w, DM_GETDEFID, 0, 0)), GetDlgCtrlID(reset));
                    Key(reset, VK_TAB);
                });
    script.Then([&] { return GetFocus() != reset; },
                [&] {
                    EXPECT_EQ(GetFocus(), o.Control(cmdHomePage))
                        << "Tab from Reset goes to the home-page button";
                    // Esc has no button to press here, nor is there a close:
                    // the window stays.
                    Key(GetFocus(), VK_ESCAPE);
                    SendMessageW(w, WM_CLOSE, 0, 0);
                    EXPECT_TRUE(o.IsLoaded()) << "only OK unloads";
                    SetFocus(ok);
                    Key(ok, VK_RETURN);
                });
    o.ShowModal();
    EXPECT_FALSE(script.Rescued()) << "the keys did not reach the window";
    EXPECT_EQ(registry.TextOf(kSettingsKeyPath, "Clr_Labels"), "8421376")
        << "Enter on the focused Reset button";
    EXPECT_FALSE(o.IsLoaded()) << "OK unloads";
    EXPECT_TRUE(IsWindowEnabled(calendar));

    // The next load makes it again and reruns the load steps.
    EXPECT_FALSE(o.IsVisible());
    EXPECT_EQ(rig.pathLoads, 1);
    ASSERT_TRUE(o.Load());
    EXPECT_EQ(rig.pathLoads, 2);
}

TEST_F(OptionsWindowTest, AQuitInEitherModalLoopUnloadsBothAndReachesTheOuterLoop) {
    for (bool inPicker : {false, true}) {
        SCOPED_TRACE(inPicker);
        Script script(Rescue());
        script.Then([&] {
            if (inPicker) Click(cmd_Cal_Clr);
        });
        script.Then([&] { return o.IsVisible() && (!inPicker || PickerUp()); },
                    [] { PostQuitMessage(7); });
        state.PickedColor = 0;
        o.ShowModal();
        EXPECT_EQ(std::tuple(script.Rescued(), o.IsLoaded(), PickerUp(), state.PickedColor,
                             IsWindowEnabled(calendar)),
                  std::tuple(false, false, false, inPicker ? -1 : 0, TRUE));
        MSG msg{};
        EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 7u);
    }
}

TEST_F(OptionsWindowTest, EnterPressesTheFocusedPushButtonAndOkFromEveryOtherStop) {
    ASSERT_TRUE(o.Load());
    const HWND check = o.Control(cbxLoadWW);
    Script script(Rescue());
    // Every focus stop: a push button is its own default, the box has OK.
    script.Then([&] {
        for (OptionsControl id : OptionsFocusOrder()) {
            HWND c = o.Control(id);
            SetFocus(c);
            const bool push = Design(id).kind == ControlKind::PushButton;
            EXPECT_EQ(SendMessageW(o.Handle(), DM_GETDEFID, 0, 0),
                      MAKELRESULT(push ? GetDlgCtrlID(c) : IDOK, DC_HASDEFID))
                << Design(id).name;
        }
        ClickControl(o.Control(cmd_Lab_Clr));
    });
    // A new user's way: a colour button, Esc in the picker, the box clicked
    // twice, then Enter.
    script.Then([&] { return PickerUp(); }, [&] { EscInPicker(); });
    script.Then([&] { return !PickerUp() && GetFocus(); },
                [&] {
                    ClickControl(check);
                    ClickControl(check);
                    Key(check, VK_RETURN);
                });
    script.Then([&] { return PickerUp(); },
                [&] {
                    ADD_FAILURE() << "Enter on the check box opened the picker again";
                    EscInPicker();
                });
    o.ShowModal();
    EXPECT_FALSE(script.Rescued()) << "Enter did not close the window";
    EXPECT_FALSE(o.IsLoaded());

    // After "Reset Colors to Default", Enter on the box closes, no second reset.
    ASSERT_TRUE(o.Load());
    Script again(Rescue());
    again.Then([&] { ClickControl(o.Control(cmd_Clr_Def)); });
    again.Then([&] { return Writes() == 2; },
               [&] {
                   ClickControl(o.Control(cbxLoadWW));
                   Key(o.Control(cbxLoadWW), VK_RETURN);
               });
    o.ShowModal();
    EXPECT_FALSE(again.Rescued());
    EXPECT_EQ(Writes(), 2u) << "reset once, written once";
}

TEST_F(OptionsWindowTest, AQuickSecondClickActsAsAClick) {
    Shown(o);
    ClickControl(o.Control(cmdHomePage), true);
    EXPECT_TRUE(PumpUntil([&] { return rig.links.opened.size() == 2; }, 2000))
        << "opened " << rig.links.opened.size() << " times";
    HWND check = o.Control(cbxLoadWW);
    ClickControl(check, true);
    PumpFor(200);
    EXPECT_EQ(Checked(check), BST_UNCHECKED) << "ticked and cleared";
    EXPECT_TRUE(files.files.empty());
}

// The height of the font a control draws with, in pixels.
LONG FontHeight(HWND control) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
}

TEST_F(OptionsWindowTest, BothWindowsFollowADpiChangeAndRepaintEveryControl) {
    const HWND w = Shown(o);
    auto painted = [&] {
        bool pending = GetUpdateRect(w, nullptr, FALSE);
        for (const auto& s : OptionsLayout())
            if (HWND c = o.Control(s.id)) pending |= GetUpdateRect(c, nullptr, FALSE) != FALSE;
        return !pending;
    };
    ASSERT_TRUE(PumpUntil(painted));
    const LONG oldHeight = FontHeight(o.Control(cmdClose));

    const int dpi = o.Dpi() == 144 ? 192 : 144;
    RECT suggested = Sized(100, 100, dpi);
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(o.Dpi(), dpi);
    EXPECT_EQ(Box(ClientArea(w)), Box(Sized(0, 0, dpi)));
    // Every visible control has its new place and font, and is due for a
    // repaint: the panel clips its children, so nothing else would paint them.
    for (const auto& s : OptionsLayout()) {
        HWND c = o.Control(s.id);
        if (!c || !IsWindowVisible(c)) continue;
        SCOPED_TRACE(s.name);
        EXPECT_EQ(Box(ChildRect(c)), Box(Rect(s.rect, dpi)));
        EXPECT_GT(FontHeight(c), oldHeight);
        EXPECT_TRUE(GetUpdateRect(c, nullptr, FALSE));
    }
    EXPECT_TRUE(PumpUntil(painted));
    ShowWindow(w, SW_HIDE);

    ColorPickerWindow& picker = o.Picker();
    ASSERT_TRUE(picker.Load());
    const RECT at = OuterRect(picker.Handle());
    SendMessageW(picker.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&at));
    const RECT cells = ClientArea(picker.Handle());
    EXPECT_EQ(cells.bottom, TwipsToPixels(kPickerClientHeightTwips, dpi));
    EXPECT_GE(cells.right, WindowPixels(PickerCells()[7], dpi).right);
    EXPECT_EQ(Box(picker.CellRect(15)), Box(Rect(PickerCells()[15], dpi)));
    EXPECT_EQ(Box(ChildRect(picker.CancelButton())), Box(Rect(kPickerCancelRect, dpi)));
    SendMessageW(picker.Handle(), WM_CLOSE, 0, 0);
}

TEST_F(OptionsWindowTest, TheCalendarColourTakesTheClickedCellAndEscInThePickerChangesNothing) {
    ASSERT_TRUE(o.Load());
    Script script(Rescue());
    script.Then([&] { return PickerUp(); },
                [&] {
                    EXPECT_FALSE(IsWindowEnabled(o.Handle()))
                        << "the options window takes no input under the picker";
                    ClickAt(rig.picker.Handle(), AtMiddle(rig.picker.CellRect(9)));
                });
    Click(cmd_Cal_Clr);
    ASSERT_TRUE(PumpUntil([&] { return script.Done() && !PickerUp(); }));
    EXPECT_FALSE(script.Rescued());
    EXPECT_TRUE(IsWindowEnabled(o.Handle()));
    EXPECT_EQ(std::tuple(state.PickedColor, state.CalendarColor, state.LabelColor, o.PanelColor()),
              std::tuple(16711680, kPalette[9], kDefaultSettings.LabelColor, kPalette[9]));
    EXPECT_EQ(registry.TextOf(kSettingsKeyPath, "Clr_Calendar"), "16711680");
    EXPECT_EQ(app->Label(LabelId::lblMonth).fore, kPalette[9]) << "the calendar recoloured";

    // Esc is Cancel: an earlier choice is not taken again, nothing written.
    registry.ClearLog();
    Script esc(Rescue());
    esc.Then([&] { return PickerUp(); }, [&] { EscInPicker(); });
    Click(cmd_Lab_Clr);
    ASSERT_TRUE(PumpUntil([&] { return esc.Done() && !PickerUp(); }));
    EXPECT_FALSE(esc.Rescued());
    EXPECT_EQ(state.PickedColor, -1);
    EXPECT_EQ(state.LabelColor, kDefaultSettings.LabelColor);
    EXPECT_TRUE(registry.CallsOf(FakeRegistry::Op::Set).empty());
}

TEST_F(OptionsWindowTest, LinksGoToTheShellFromTheButtonAndTheMailLabel) {
    ASSERT_TRUE(o.Load());
    Click(cmdHomePage);
    PumpUntil([&] { return !rig.links.opened.empty(); }, 1000);
    const HWND w = o.Handle(), home = o.Control(cmdHomePage);
    const LPARAM at = AtMiddle(Rect(Design(lblContact).rect, o.Dpi())), off = MAKELPARAM(2, 2);
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(w, WM_CAPTURECHANGED, 0, Lp(w)); // still its own
    SendMessageW(w, WM_LBUTTONUP, 0, at);
    // A press that ends off the link, or starts off it, is no click; nor is
    // a command that is not the button's own click.
    Drag(w, at, off);
    Drag(w, off, at);
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(home), BN_CLICKED), 0);
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(home), BN_DOUBLECLICKED), Lp(home));
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(99, BN_CLICKED), Lp(home));
    EXPECT_EQ(rig.links.opened,
              (std::vector<std::wstring>{std::wstring(kHomePageAddress),
                                         L"mailto:" + std::wstring(kContactAddress)}));
    EXPECT_TRUE(o.IsLoaded()) << "the window stays open";
    // A tray click brings it to the front.
    ShowWindow(w, SW_SHOWNA);
    ShowWindow(calendar, SW_SHOW);
    ASSERT_NE(GetForegroundWindow(), w);
    o.ToFront();
    EXPECT_EQ(GetForegroundWindow(), w);
}

// The picker on its own, as the options window's rig holds it.
using ColorPickerWindowTest = OptionsWindowTest;

TEST_F(ColorPickerWindowTest, ShowsThePaletteInTwoRowsUnderASmallCaptionEveryTimeItLoads) {
    ColorPickerWindow& picker = rig.picker;
    std::vector<RECT> first;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(picker.Load());
        HWND w = picker.Handle();
        EXPECT_EQ(WindowText(w), L"Color Picker");
        EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) &
                      (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
                  WS_CAPTION | WS_SYSMENU);

        const int dpi = picker.Dpi();
        const RECT client = ClientArea(w), outer = OuterRect(w);
        EXPECT_EQ(client.bottom, TwipsToPixels(kPickerClientHeightTwips, dpi));
        if (dpi == 96) {
            EXPECT_EQ(outer.right - outer.left, PickerOuterWidthPixels(96));
        }
        EXPECT_GE(client.right, picker.CellRect(7).right) << "no cell cut off";

        HWND cancel = picker.CancelButton();
        EXPECT_EQ(std::pair(WindowText(cancel), GetDlgCtrlID(cancel)),
                  std::pair(std::wstring(L"Cancel"), IDCANCEL));
        EXPECT_EQ(SendMessageW(w, DM_GETDEFID, 0, 0), MAKELRESULT(IDCANCEL, DC_HASDEFID));
        EXPECT_EQ(Box(ChildRect(cancel)), Box(Rect(kPickerCancelRect, dpi)));

        DibCanvas canvas(w);
        std::vector<RECT> cells;
        for (int i = 0; i < kPickerCellCount; ++i) {
            const RECT r = picker.CellRect(i);
            cells.push_back(r);
            EXPECT_EQ(canvas.At(Middle(r).x, Middle(r).y), kPalette[i]) << "cell " << i;
            EXPECT_EQ(canvas.At(r.left, r.top), GetSysColor(COLOR_WINDOWFRAME)) << "border " << i;
            if (round == 1) {
                EXPECT_EQ(Box(r), Box(first[i])) << "cell " << i << " moved";
            }
        }
        // The second row right under the first, cells side by side.
        EXPECT_EQ(std::tuple(cells[8].left, cells[8].top, cells[15].left, cells[1].left),
                  std::tuple(cells[0].left, cells[0].bottom, cells[7].left, cells[0].right));
        EXPECT_EQ(canvas.At(2, cells[8].bottom + 2), GetSysColor(COLOR_BTNFACE));
        // A repaint of one cell paints that cell alone.
        const DibCanvas part(client.right, client.bottom);
        picker.PaintContent(part.Dc(), cells[1]);
        EXPECT_EQ(part.At(Middle(cells[1]).x, Middle(cells[1]).y), kPalette[1]);
        EXPECT_EQ(part.At(Middle(cells[2]).x, Middle(cells[2]).y), 0u);
        first = cells;
        // Loaded already: the same window. No cell past the sixteen.
        EXPECT_TRUE(picker.Load());
        EXPECT_EQ(picker.Handle(), w);
        EXPECT_EQ(Box(picker.CellRect(-1)), Box(RECT{}));
        EXPECT_EQ(Box(picker.CellRect(kPickerCellCount)), Box(RECT{}));
        SendMessageW(w, WM_CLOSE, 0, 0);
        EXPECT_EQ(picker.Handle(), nullptr);
    }
}

TEST_F(ColorPickerWindowTest, OnlyACellClickLeavesAColourEveryOtherCloseLeavesNone) {
    ColorPickerWindow& picker = rig.picker;
    auto cell = [&](int i) { return AtMiddle(picker.CellRect(i)); };
    auto clickCell = [&](int i) {
        EXPECT_TRUE(picker.Load());
        ShowWindow(picker.Handle(), SW_SHOWNA);
        Drag(picker.Handle(), cell(i), cell(i));
        return picker.Handle() == nullptr;
    };
    EXPECT_TRUE(clickCell(0));
    EXPECT_EQ(state.PickedColor, 0) << "black is a choice";
    EXPECT_TRUE(clickCell(15));
    EXPECT_EQ(state.PickedColor, 16777215);

    // Press on one cell, release on another, or press beside the cells:
    // no click, still open; nor does a command other than Cancel's click
    // close it.
    ASSERT_TRUE(picker.Load());
    const HWND w = picker.Handle();
    const LPARAM beside = MAKELPARAM(2, picker.CellRect(8).bottom + 2);
    Drag(w, cell(2), cell(3));
    Drag(w, beside, beside);
    SendMessageW(w, WM_LBUTTONUP, 0, cell(3));
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_SETFOCUS), 0);
    EXPECT_EQ(picker.Handle(), w);
    EXPECT_EQ(state.PickedColor, 16777215);
    // A press survives the capture coming back to the picker itself.
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, cell(4));
    SendMessageW(w, WM_CAPTURECHANGED, 0, Lp(w));
    SendMessageW(w, WM_LBUTTONUP, 0, cell(4));
    EXPECT_EQ(picker.Handle(), nullptr);
    EXPECT_EQ(state.PickedColor, static_cast<std::int32_t>(kPalette[4]));

    // Cancel, the caption's close button and Alt+F4 all leave -1.
    const std::pair<UINT, WPARAM> closes[] = {
        {WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)}, {WM_CLOSE, 0}, {WM_SYSCOMMAND, SC_CLOSE}};
    for (auto [msg, wp] : closes) {
        state.PickedColor = 16777215;
        ASSERT_TRUE(picker.Load());
        SendMessageW(picker.Handle(), msg, wp, msg == WM_COMMAND ? Lp(picker.CancelButton()) : 0);
        EXPECT_EQ(picker.Handle(), nullptr);
        EXPECT_EQ(state.PickedColor, -1) << msg;
    }
}

TEST_F(OptionsWindowTest, AWindowTheSystemRefusesShowsNothingHalfMadeAndLeavesNoChoice) {
    Script guard(Rescue()); // should a window be made after all
    {
        const RefusedClass refused(L"MivraOptions");
        o.ShowModal();
        EXPECT_FALSE(o.IsLoaded());
        EXPECT_TRUE(IsWindowEnabled(calendar));
    }
    // The picker itself, or its Cancel button.
    for (const wchar_t* name : {L"Button", L"MivraColorPicker"}) {
        const RefusedClass refused(name);
        state.PickedColor = 0;
        rig.picker.ShowModal();
        EXPECT_FALSE(PickerUp()) << testing::PrintToString(std::wstring(name));
        EXPECT_EQ(state.PickedColor, -1);
    }
}

// A window of another program: a thread of its own that brings it to the
// front when asked.
class OtherProgram {
public:
    OtherProgram() {
        thread_ = std::thread([this] {
            hwnd_ = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                                    50, 300, 300, nullptr, nullptr, nullptr, nullptr);
            id_ = GetCurrentThreadId();
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (msg.message == WM_APP) SetForegroundWindow(hwnd_);
                DispatchMessageW(&msg);
            }
            DestroyWindow(hwnd_);
        });
        for (int waited = 0; !id_ && waited < 5000; ++waited)
            Sleep(1);
    }
    ~OtherProgram() {
        PostThreadMessageW(id_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Handle() const { return hwnd_; }
    void ToFront() const { PostThreadMessageW(id_, WM_APP, 0, 0); }

private:
    std::thread thread_;
    HWND hwnd_ = nullptr;
    std::atomic<DWORD> id_{0};
};

// Whether `a` lies above `b` among the top-level windows.
bool Above(HWND a, HWND b) {
    for (HWND w = GetWindow(a, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == b) return true;
    return false;
}

TEST_F(OptionsWindowTest, WhileActiveItFloatsAboveTheCalendarAndStepsBackForAnotherProgram) {
    SetWindowPos(calendar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(calendar, SW_SHOWNA);
    OtherProgram other;
    const HWND page = other.Handle();
    // Whether a window is in front, asked when the step is due.
    auto front = [](std::function<HWND()> w) {
        return [w] { return GetForegroundWindow() == w(); };
    };
    auto options = [&] { return o.Handle(); };
    auto picker = [&] { return rig.picker.Handle(); };
    auto pageFront = front([&] { return page; });
    Script script(Rescue());
    script.Then([&] { return o.IsVisible() && front(options)(); },
                [&] {
                    EXPECT_TRUE(Above(o.Handle(), calendar)) << "options above the calendar";
                    other.ToFront(); // the browser with the home page
                });
    script.Then(pageFront, [&] {
        EXPECT_TRUE(Above(page, o.Handle())) << "the page above the options window";
        // Opened again, from the tray, while it is up: no second window or
        // loop, the open one comes to the front.
        o.ShowModal();
        EXPECT_TRUE(o.IsLoaded()) << "a second open returns at once";
    });
    script.Then(front(options), [&] {
        EXPECT_TRUE(Above(o.Handle(), calendar)) << "options above the calendar again";
        EXPECT_TRUE(Above(o.Handle(), page)) << "options above the page";
        Click(cmd_Cal_Clr);
    });
    script.Then([&] { return picker() && front(picker)(); },
                [&] {
                    EXPECT_TRUE(Above(picker(), o.Handle())) << "picker above options";
                    other.ToFront();
                });
    script.Then(pageFront, [&] {
        EXPECT_TRUE(Above(page, picker())) << "the page above the picker";
        EXPECT_TRUE(Above(picker(), o.Handle())) << "the picker still above options";
        // A click on the tray icon brings the picker back.
        o.ToFront();
    });
    script.Then(front(picker), [&] {
        EXPECT_TRUE(Above(picker(), calendar)) << "the picker above the calendar";
        other.ToFront();
    });
    script.Then(pageFront, [&] {
        const HWND open = picker();
        state.PickedColor = 0;
        rig.picker.ShowModal();
        EXPECT_EQ(picker(), open) << "a second picker returns at once";
        EXPECT_EQ(state.PickedColor, -1) << "with no choice";
    });
    script.Then(front(picker), [&] { EscInPicker(); });
    script.Then([&] { return !PickerUp(); }, Rescue());
    o.ShowModal();
    EXPECT_FALSE(script.Rescued());
    EXPECT_TRUE(script.Done());
}

// Windows' rule, which Wine lacks: a launcher's show command takes the place
// of the first SW_SHOW or SW_SHOWNORMAL of an unowned window with a caption.
struct LauncherRule {
    static inline bool used = false;
    static BOOL WINAPI Show(HWND hwnd, int cmd) {
        const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
        if (!used && !(style & WS_CHILD) && !GetWindow(hwnd, GW_OWNER) &&
            (style & WS_CAPTION) == WS_CAPTION) {
            used = true;
            if (cmd == SW_SHOW || cmd == SW_SHOWNORMAL) cmd = SW_SHOWMINNOACTIVE;
        }
        return ShowWindow(hwnd, cmd);
    }
};

TEST_F(OptionsWindowTest, StartedMinimizedByItsShortcutThePickerStillOpensAsItIs) {
    showWindow = LauncherRule::Show;
    Script script(Rescue());
    script.Then([&] { return o.IsVisible(); }, [&] { Click(cmd_Cal_Clr); });
    script.Then([&] { return PickerUp(); },
                [&] {
                    EXPECT_FALSE(IsIconic(rig.picker.Handle()) || IsIconic(o.Handle()));
                    EscInPicker();
                });
    script.Then([&] { return !PickerUp(); }, Rescue());
    o.ShowModal();
    showWindow = ShowWindow;
    EXPECT_TRUE(LauncherRule::used);
    EXPECT_FALSE(script.Rescued());
}

TEST_F(OptionsWindowTest, ABoxTheShellSwitchedOffLoadsClearAndAClickSwitchesItOn) {
    files.files.insert(kLink);
    test::SwitchOffInShell(registry);
    Shown(o);
    HWND check = o.Control(cbxLoadWW);
    EXPECT_EQ(Checked(check), BST_UNCHECKED);
    ClickControl(check);
    EXPECT_TRUE(PumpUntil([&] { return Checked(check) == BST_CHECKED; }, 2000));
    EXPECT_FALSE(registry.Find(test::kApprovedKey, kStartupApprovedName));
    EXPECT_TRUE(files.created.empty());
}

} // namespace
} // namespace mivra
