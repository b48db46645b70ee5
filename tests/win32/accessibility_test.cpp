// What a screen reader gets from the three windows, read the way readers
// read it: AccessibleObjectFromWindow, then IAccessible calls and WinEvents.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "app/system_win32.h"
#include "platform/accessible_win32.h"
#include "platform/tooltips_win32.h"
#include "platform/window_win32.h"
#include "tests/support/calendar_window_rig_win32.h"
#include "tests/support/dib_canvas_win32.h"
#include "tests/support/reader_win32.h"
#include "tests/support/refused_class_win32.h"

namespace mivra {
namespace {

using namespace test;

// WinEvents as an out-of-context reader receives them, from one window.
class EventLog {
public:
    struct Event {
        DWORD event;
        LONG object, child;
        bool operator==(const Event&) const = default;
    };
    explicit EventLog(HWND hwnd) {
        target_ = hwnd;
        events.clear();
        hook_ = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_NAMECHANGE, nullptr, Proc,
                                GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
    ~EventLog() { UnhookWinEvent(hook_); }
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    bool Has(DWORD event, LONG object, LONG child) const {
        return std::ranges::count(events, Event{event, object, child}) > 0;
    }
    long Count(DWORD event) const {
        return static_cast<long>(std::ranges::count(events, event, &Event::event));
    }
    static inline std::vector<Event> events;

private:
    static void CALLBACK Proc(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                              DWORD) {
        if (hwnd == target_) events.push_back({event, object, child});
    }
    static inline HWND target_ = nullptr;
    HWINEVENTHOOK hook_ = nullptr;
};

// Every answer in `got` is `want`; a failure names the call by its place.
void ExpectAll(std::initializer_list<HRESULT> got, HRESULT want) {
    int call = 0;
    for (HRESULT hr : got)
        EXPECT_EQ(hr, want) << "call " << call++;
}

// The system's object for a client area, when it cannot be made.
HRESULT WINAPI NoStandardObject(HWND, LONG, REFIID, void** out) {
    *out = nullptr;
    return E_OUTOFMEMORY;
}

// Child ids in the calendar's reading order.
constexpr long kTitle = 1, kQuit = 2, kSunday = 3, kFirstCell = 10, kHide = 52, kToday = 55,
               kMonthNext = 56, kLastButton = 58;

class AccessibilityTest : public ::testing::Test, protected CalendarWindowRig {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }
    void TearDown() override { Stop(); }
};

TEST_F(AccessibilityTest, CalendarListsEveryLabelWithNameRoleStateAndPlaceInReadingOrder) {
    Reader r(h);
    ASSERT_TRUE(r);
    EXPECT_EQ(r.Role(CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    EXPECT_EQ(r.Name(CHILDID_SELF), L"Mivra 2000");
    ASSERT_EQ(r.Count(), 58);

    EXPECT_EQ(std::tuple(r.Name(kTitle), r.Name(kQuit), r.Name(kSunday), r.Name(kSunday + 6)),
              std::tuple(L"October 2000", L"Quit", L"Sun", L"Sat"));
    EXPECT_EQ(std::tuple(r.Role(kTitle), r.Role(kQuit), r.Role(kSunday + 6)),
              std::tuple(ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_STATICTEXT));

    // October 2000 starts on a Sunday, so the top row is all September.
    EXPECT_EQ(std::tuple(r.Name(kFirstCell), r.Role(kFirstCell), r.Description(kFirstCell)),
              std::tuple(L"Sunday, September 24, 2000", ROLE_SYSTEM_CELL, L"Previous month"));
    EXPECT_TRUE(r.State(kFirstCell) & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(r.Name(kFirstCell + 7), L"Sunday, October 1, 2000");
    EXPECT_EQ(r.State(kFirstCell + 7) & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_SELECTED), 0);
    EXPECT_EQ(r.Name(kFirstCell + 41), L"Saturday, November 4, 2000");
    EXPECT_EQ(r.Description(kFirstCell + 41), L"Next month");
    const long today = kFirstCell + 24;
    EXPECT_EQ(std::tuple(r.Name(today), r.Description(today), r.Selection(), r.Action(today)),
              std::tuple(L"Wednesday, October 18, 2000", L"Today", today, L""));
    EXPECT_TRUE(r.State(today) & STATE_SYSTEM_SELECTED);

    for (long id = kHide; const wchar_t* name : {L"Hide", L"Back One Year", L"Back One Month",
                                                 L"Jump to Today (10/18/2000)", L"Ahead One Month",
                                                 L"Ahead One Year", L"About Mivra 2000"}) {
        EXPECT_EQ(r.Name(id), name);
        EXPECT_EQ(r.Role(id), ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(r.Action(id++), L"Press");
    }
    // The window is hidden, so is every label.
    EXPECT_TRUE(r.State(kHide) & STATE_SYSTEM_INVISIBLE);

    // Where the labels are, with the window moved, at two DPIs.
    SetWindowPos(h, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int dpi : {96, 144}) {
        if (dpi != window.Dpi()) {
            SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
            ASSERT_EQ(window.Dpi(), dpi);
        }
        SCOPED_TRACE(dpi);
        const RECT outer = ScreenRect(h, ClientArea(h));
        EXPECT_EQ(r.Location(CHILDID_SELF), outer);
        // Every label in reading order is where it is painted, and a hit at
        // its middle finds it (the weekdays take no hit of their own).
        long id = kTitle;
        for (LabelId label : ReadingOrder()) {
            EXPECT_EQ(r.Location(id), ScreenRect(h, window.LabelRect(label))) << id;
            if (id < kSunday || id >= kFirstCell) {
                EXPECT_EQ(r.HitTest(Middle(r.Location(id))), id);
            }
            ++id;
        }
        // The black frame belongs to the window, outside the window to nobody.
        EXPECT_EQ(r.HitTest({outer.left, outer.top}), CHILDID_SELF);
        EXPECT_EQ(r.HitTest({outer.right + 5, outer.top}), -1);
    }
    const Box cell = r.Location(kFirstCell);
    // 24 to 396 twips at 144 dpi, each edge rounded down: pixels 2 to 39.
    EXPECT_EQ(cell.right - cell.left, 37);

    // What the painting shows there: the "?" button's face fills its
    // rectangle, and the black margin begins just past it.
    const RECT about = window.LabelRect(LabelId::lblAbout);
    const DibCanvas canvas(h);
    const COLORREF face = static_cast<COLORREF>(state.LabelColor);
    EXPECT_EQ(canvas.At(about.left + 1, about.top + 1), face);
    EXPECT_EQ(canvas.At(about.right - 2, about.bottom - 2), face);
    EXPECT_EQ(canvas.At(about.right, about.bottom - 2), 0u);
    EXPECT_EQ(canvas.At(about.right - 2, about.bottom), 0u);

    const long steps[][3] = {{NAVDIR_FIRSTCHILD, CHILDID_SELF, kTitle},
                             {NAVDIR_LASTCHILD, CHILDID_SELF, kLastButton},
                             {NAVDIR_NEXT, kTitle, kQuit},
                             {NAVDIR_PREVIOUS, kTitle, -1},
                             {NAVDIR_NEXT, kLastButton, -1},
                             {NAVDIR_DOWN, kSunday, kFirstCell},
                             {NAVDIR_RIGHT, kFirstCell, kFirstCell + 1},
                             {NAVDIR_LEFT, kFirstCell + 1, kFirstCell},
                             {NAVDIR_LEFT, kFirstCell, -1},
                             {NAVDIR_DOWN, kFirstCell + 35, kHide},
                             {NAVDIR_UP, kHide, kFirstCell + 35},
                             {NAVDIR_UP, kSunday, kTitle}};
    for (const auto& [dir, from, to] : steps)
        EXPECT_EQ(r.Navigate(dir, from), to) << dir << " from " << from;
}

TEST_F(AccessibilityTest, EveryCallHasASoundAnswerAndNoneReachesAWindowThatIsGone) {
    Reader r(h);
    ASSERT_TRUE(r);
    IAccessible* a = r.operator->();
    const VARIANT self = Child(CHILDID_SELF), one = Child(1), quit = Child(kQuit), past = Child(59);
    long n = 0;
    LONG topic = 0;
    VARIANT v, w;
    BSTR s = nullptr;
    IDispatch* d = nullptr;
    // Without the system's object the window answers for itself: seen or
    // not, with no name, neighbours or selection.
    createStdAccessible = NoStandardObject;
    EXPECT_TRUE(r.State(CHILDID_SELF) & STATE_SYSTEM_INVISIBLE);
    ShowWindow(h, SW_SHOWNA);
    EXPECT_EQ(r.State(CHILDID_SELF), 0);
    ShowWindow(h, SW_HIDE);
    EXPECT_EQ(r.Name(CHILDID_SELF), L"");
    EXPECT_EQ(r.Navigate(NAVDIR_NEXT, CHILDID_SELF), -1);
    EXPECT_EQ(a->accSelect(SELFLAG_TAKEFOCUS, self), DISP_E_MEMBERNOTFOUND);
    createStdAccessible = CreateStdAccessibleObject;
    // A child id comes as any integer type; anything else names nothing.
    for (VARTYPE type : {VT_I2, VT_INT, VT_BSTR}) {
        VARIANT id = quit;
        id.vt = type; // the same bits, as a short, an int or no number at all
        EXPECT_EQ(a->get_accName(id, &s), type == VT_BSTR ? E_INVALIDARG : S_OK);
        EXPECT_EQ(std::wstring(s ? s : L""), type == VT_BSTR ? L"" : L"Quit");
        SysFreeString(s);
        s = nullptr;
    }

    // The window itself is the system's: its state, its neighbours and its
    // selection are what the system's own object says; its parent is the
    // window's object, which holds more than the client area's 58.
    ComPtr<IAccessible> system, frame;
    ASSERT_EQ(CreateStdAccessibleObject(h, OBJID_CLIENT, __uuidof(IAccessible), system.PutVoid()),
              S_OK);
    EXPECT_EQ(a->get_accState(self, &v), system->get_accState(self, &w));
    EXPECT_EQ(v.lVal, w.lVal);
    EXPECT_TRUE(v.lVal & STATE_SYSTEM_INVISIBLE);
    EXPECT_EQ(a->accNavigate(NAVDIR_NEXT, self, &v), system->accNavigate(NAVDIR_NEXT, self, &w));
    EXPECT_EQ(a->accSelect(SELFLAG_TAKEFOCUS, self), system->accSelect(SELFLAG_TAKEFOCUS, self));
    ASSERT_EQ(a->get_accParent(&d), S_OK);
    ASSERT_EQ(d->QueryInterface(__uuidof(IAccessible), frame.PutVoid()), S_OK);
    d->Release();
    frame->get_accChildCount(&n);
    EXPECT_NE(n, 58);

    // A painted label has no object, value, help or keys of its own, and
    // takes no focus; nothing is written, and there is no type library.
    EXPECT_EQ(a->get_accChild(quit, &d), S_FALSE);
    EXPECT_EQ(d, nullptr);
    for (auto get : {&IAccessible::get_accValue, &IAccessible::get_accHelp,
                     &IAccessible::get_accKeyboardShortcut}) {
        EXPECT_EQ((a->*get)(quit, &s), S_FALSE);
        EXPECT_EQ(s, nullptr);
    }
    EXPECT_EQ(a->get_accHelpTopic(&s, quit, &topic), S_FALSE);
    EXPECT_EQ(topic, -1);
    UINT infos = 1;
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(&infos);
    IUnknown* other = system.Get();
    EXPECT_EQ(a->get_accHelpTopic(nullptr, quit, nullptr), S_FALSE);
    EXPECT_EQ(a->GetTypeInfoCount(&infos), S_OK);
    EXPECT_EQ(infos, 0u);
    ExpectAll({a->put_accName(quit, nullptr), a->put_accValue(quit, nullptr),
               a->GetTypeInfo(0, 0, &info), a->GetTypeInfo(0, 0, nullptr),
               a->GetIDsOfNames(IID_NULL, nullptr, 0, 0, nullptr),
               a->Invoke(0, IID_NULL, 0, 0, nullptr, nullptr, nullptr, nullptr)},
              E_NOTIMPL);
    EXPECT_EQ(info, nullptr);
    EXPECT_EQ(a->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(&other)),
              E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(a->accSelect(SELFLAG_TAKEFOCUS, quit), DISP_E_MEMBERNOTFOUND);

    // Ids past the last item, directions no item has, and no place for
    // the answer are refused.
    ExpectAll({a->get_accName(past, &s), a->get_accChild(past, &d), a->get_accRole(past, &v),
               a->accSelect(SELFLAG_TAKEFOCUS, past), a->accLocation(&n, &n, &n, &n, past),
               a->accNavigate(NAVDIR_NEXT, past, &v), a->accDoDefaultAction(past),
               a->accNavigate(NAVDIR_FIRSTCHILD, quit, &v), a->accNavigate(99, quit, &v)},
              E_INVALIDARG);
    ExpectAll({a->get_accParent(nullptr), a->get_accChildCount(nullptr),
               a->get_accChild(one, nullptr), a->get_accName(one, nullptr),
               a->get_accRole(one, nullptr), a->get_accFocus(nullptr), a->get_accSelection(nullptr),
               a->accLocation(nullptr, &n, &n, &n, one), a->accLocation(&n, nullptr, &n, &n, one),
               a->accLocation(&n, &n, nullptr, &n, one), a->accLocation(&n, &n, &n, nullptr, one),
               a->accNavigate(NAVDIR_NEXT, one, nullptr), a->accHitTest(0, 0, nullptr),
               a->QueryInterface(__uuidof(IAccessible), nullptr), a->GetTypeInfoCount(nullptr)},
              E_POINTER);

    // Once the window is gone the reader's object says so instead of crashing.
    DestroyWindow(h);
    ExpectAll({a->get_accParent(&d), a->get_accChildCount(&n), a->get_accChild(one, &d),
               a->get_accName(one, &s), a->get_accRole(one, &v),
               a->get_accHelpTopic(&s, one, &topic), a->get_accFocus(&v), a->get_accSelection(&v),
               a->accSelect(SELFLAG_TAKEFOCUS, one), a->accLocation(&n, &n, &n, &n, one),
               a->accNavigate(NAVDIR_NEXT, one, &v), a->accHitTest(0, 0, &v),
               a->accDoDefaultAction(one)},
              RPC_E_DISCONNECTED);
}

TEST_F(AccessibilityTest, PressWorksTheCalendarAsAClickDoesAndReadersHearTheChange) {
    EventLog log(h);
    ASSERT_TRUE(log.Hooked());
    Reader r(h);
    ASSERT_TRUE(r);
    // Hidden, the window takes no click and no press.
    EXPECT_TRUE(FAILED(r->accDoDefaultAction(Child(kMonthNext))));
    ShowWindow(h, SW_SHOWNA);
    ASSERT_TRUE(PumpUntil([&] { return log.Has(EVENT_OBJECT_SHOW, OBJID_CLIENT, CHILDID_SELF); }));

    // ">" steps one month and no more: the press ends as a release does.
    log.events.clear();
    EXPECT_EQ(r->accDoDefaultAction(Child(kMonthNext)), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return state.DisplayMonth == 11; }));
    PumpFor(400);
    EXPECT_EQ(state.DisplayMonth, 11);
    EXPECT_EQ(app->Label(LabelId::lblMonthNext).back, state.LabelColor);
    EXPECT_EQ(r.Name(kTitle), L"November 2000");
    EXPECT_EQ(r.Name(kFirstCell), L"Sunday, October 29, 2000");
    // The title's change is announced first, then every cell's.
    ASSERT_TRUE(PumpUntil([&] { return log.Count(EVENT_OBJECT_NAMECHANGE) >= 43; }));
    EXPECT_EQ(log.Count(EVENT_OBJECT_NAMECHANGE), 43);
    EXPECT_EQ(std::ranges::find(log.events, DWORD{EVENT_OBJECT_NAMECHANGE}, &EventLog::Event::event)
                  ->child,
              kTitle);
    EXPECT_TRUE(log.Has(EVENT_OBJECT_NAMECHANGE, OBJID_CLIENT, kFirstCell + 41));
    // The 18th left the grid's mark: its state changed too.
    EXPECT_TRUE(log.Has(EVENT_OBJECT_STATECHANGE, OBJID_CLIENT, kFirstCell + 24));
    EXPECT_EQ(r.Selection(), -1);

    // Jump to Today comes back; a cell has no action.
    EXPECT_EQ(r->accDoDefaultAction(Child(kToday)), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return state.DisplayMonth == 10; }));
    EXPECT_EQ(r->accDoDefaultAction(Child(kFirstCell)), DISP_E_MEMBERNOTFOUND);

    // A disabled window (a modal window is up) takes no press, as it takes
    // no click.
    EnableWindow(h, FALSE);
    EXPECT_TRUE(r.State(kMonthNext) & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_TRUE(FAILED(r->accDoDefaultAction(Child(kMonthNext))));
    EnableWindow(h, TRUE);

    // "Hide" hides, and readers are told.
    log.events.clear();
    EXPECT_EQ(r->accDoDefaultAction(Child(kHide)), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(h); }));
    EXPECT_TRUE(PumpUntil([&] { return log.Has(EVENT_OBJECT_HIDE, OBJID_CLIENT, CHILDID_SELF); }));
}

TEST_F(AccessibilityTest, OptionsWindowReadsTopToBottomAndItsLinkOpens) {
    OptionsWindow& about = dialogs.Make();
    ASSERT_TRUE(about.Load());
    ShowWindow(about.Handle(), SW_SHOWNA);
    Reader r(about.Handle());
    ASSERT_TRUE(r);
    ASSERT_EQ(r.Count(), 11);
    for (long id = 1; const wchar_t* name :
                      {L"Mivra  2000", L"Author:", kAuthorCredit.data(), kContactAddress.data(),
                       L"Mivra 2000 Home Page...",
                       L"Free to use and to pass on. The date is always one click away.",
                       L"Run \"Mivra\" on Windows Startup", L"OK", L"Adjust Calendar Color",
                       L"Adjust Label Color", L"Reset Colors to Default"})
        EXPECT_EQ(r.Name(id++), name);
    EXPECT_EQ(std::tuple(r.Role(4), r.Role(7), r.Role(8)),
              std::tuple(ROLE_SYSTEM_LINK, ROLE_SYSTEM_CHECKBUTTON, ROLE_SYSTEM_PUSHBUTTON));
    EXPECT_TRUE(r.State(7) & STATE_SYSTEM_INVISIBLE); // no Startup folder
    const HWND ok = about.Control(OptionsControl::cmdClose);
    EXPECT_EQ(r.Location(8), Box(OuterRect(ok)));
    EXPECT_EQ(r.HitTest(Middle(r.Location(4))), 4);
    EXPECT_EQ(r.HitTest(Middle(r.Location(8))), -2); // OK's own object

    // Painted texts are reported where they are painted and real controls
    // where they stand, to the pixel, and each takes the hit out to its edges.
    using enum OptionsControl;
    const OptionsControl order[] = {lblTitle,    lblAuthorHeading, lblAuthor,  lblContact,
                                    cmdHomePage, lblNote,          cbxLoadWW,  cmdClose,
                                    cmd_Cal_Clr, cmd_Lab_Clr,      cmd_Clr_Def};
    for (int dpi : {96, 120, 144}) {
        if (dpi != about.Dpi())
            SendMessageW(about.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
        ASSERT_EQ(about.Dpi(), dpi);
        for (long i = 1; i <= 11; ++i) {
            const OptionsControl id = order[i - 1];
            SCOPED_TRACE(testing::Message() << Design(id).name << " at " << dpi);
            HWND control = about.Control(id);
            const RECT where = control ? OuterRect(control)
                                       : ScreenRect(about.Handle(), ToRect(ControlPixels(id, dpi)));
            EXPECT_EQ(r.Location(i), Box(where));
            if (control && !IsWindowVisible(control)) continue;
            const long hit = control ? -2 : i;
            const LONG middle = (where.top + where.bottom) / 2;
            EXPECT_EQ(r.HitTest({where.left, middle}), hit);
            EXPECT_EQ(r.HitTest({where.right - 1, middle}), hit);
            EXPECT_NE(r.HitTest({where.right, middle}), hit);
        }
    }

    EXPECT_EQ(r->accDoDefaultAction(Child(4)), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return !dialogs.links.opened.empty(); }));
    EXPECT_EQ(dialogs.links.opened[0], L"mailto:" + std::wstring(kContactAddress));

    // The focus: on the window, on a real control (its own object), or
    // elsewhere; a reader moves it to a real control, never to a label.
    SetFocus(about.Handle());
    EXPECT_EQ(r.Focus(), CHILDID_SELF);
    EXPECT_EQ(r->accSelect(SELFLAG_TAKEFOCUS, Child(8)), S_OK);
    EXPECT_EQ(GetFocus(), ok);
    EXPECT_EQ(r.Focus(), -2);
    EXPECT_TRUE(r.State(8) & STATE_SYSTEM_FOCUSED);
    ExpectAll(
        {r->accSelect(SELFLAG_TAKESELECTION, Child(9)), r->accSelect(SELFLAG_TAKEFOCUS, Child(1))},
        DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(GetFocus(), ok);
    SetFocus(window.Handle());
    EXPECT_EQ(r.Focus(), -1);
    SetFocus(nullptr);
    EXPECT_EQ(r.Focus(), -1);
    // A press of a control the user cannot press does nothing: OK disabled,
    // the check box hidden (no Startup folder).
    EnableWindow(ok, FALSE);
    EXPECT_TRUE(r.State(8) & STATE_SYSTEM_UNAVAILABLE);
    ExpectAll({r->accDoDefaultAction(Child(8)), r->accDoDefaultAction(Child(7))}, S_OK);
    PumpFor(100);
    EXPECT_TRUE(about.IsLoaded());
    EXPECT_TRUE(dialogs.files.created.empty());
}

// A reader that asks for a window's object while the window is being
// destroyed: from the window's last child's WM_DESTROY, which comes after
// its parent's and before the parent's WM_NCDESTROY. The answer it got: the
// system's own object counts the window's children, where the dying one
// would answer "disconnected".
LRESULT CALLBACK AskForParentWhileDying(HWND child, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                        DWORD_PTR answer) {
    if (msg == WM_DESTROY) {
        Reader r(GetParent(child));
        long n = 0;
        *reinterpret_cast<HRESULT*>(answer) = r ? r->get_accChildCount(&n) : E_FAIL;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(child, AskForParentWhileDying, 1);
    return DefSubclassProc(child, msg, wp, lp);
}

TEST_F(AccessibilityTest, PickerCellsAreNamedColoursReadAfreshEachTimeTheWindowIsMadeAgain) {
    // The picker is unloaded at every choice and loaded again at the next;
    // a reader asks while it goes.
    ColorPickerWindow& picker = dialogs.picker;
    for (int open = 1; open <= 3; ++open) {
        SCOPED_TRACE(open);
        ASSERT_TRUE(picker.Load());
        HWND h = picker.Handle();
        ShowWindow(h, SW_SHOWNA);
        Reader r(h);
        ASSERT_TRUE(r);
        ASSERT_EQ(r.Count(), 17);
        EXPECT_EQ(std::tuple(r.Name(1), r.Name(2), r.Name(13), r.Name(16), r.Name(17)),
                  std::tuple(L"black", L"dark blue", L"red", L"white", L"Cancel"));
        EXPECT_EQ(r.State(2) & STATE_SYSTEM_INVISIBLE, 0);
        for (long id = 1; id <= 16; ++id) {
            EXPECT_EQ(r.Role(id), ROLE_SYSTEM_PUSHBUTTON);
            EXPECT_EQ(r.Location(id), ScreenRect(h, picker.CellRect(id - 1)));
            EXPECT_EQ(r.HitTest(Middle(r.Location(id))), id);
        }
        // Cancel is the real button, with its own object.
        IDispatch* cancel = nullptr;
        EXPECT_EQ(r->get_accChild(Child(17), &cancel), S_OK);
        ASSERT_NE(cancel, nullptr);
        cancel->Release();
        EXPECT_EQ(r.Navigate(NAVDIR_DOWN, 1), 9);   // black, then dark grey below it
        EXPECT_EQ(r.Navigate(NAVDIR_DOWN, 12), -2); // cyan, then Cancel's own object
        const RECT bar = ScreenRect(h, ClientArea(h));
        EXPECT_EQ(r.HitTest(Middle(Box(OuterRect(picker.CancelButton())))), -2);
        EXPECT_EQ(r.HitTest({bar.left + 1, bar.bottom - 2}), CHILDID_SELF);

        // A cell picks its colour; the last time Cancel closes without one.
        HRESULT asked = E_PENDING;
        ASSERT_TRUE(SetWindowSubclass(picker.CancelButton(), AskForParentWhileDying, 1,
                                      reinterpret_cast<DWORD_PTR>(&asked)));
        state.PickedColor = 0;
        ASSERT_EQ(r->accDoDefaultAction(Child(open < 3 ? 2 : 17)), S_OK);
        ASSERT_TRUE(PumpUntil([&] { return picker.Handle() == nullptr; }));
        EXPECT_EQ(state.PickedColor, open < 3 ? 0x00800000 : -1);
        EXPECT_EQ(asked, S_OK) << "the dying window's object was handed out";
        long n = 0;
        EXPECT_EQ(r->get_accChildCount(&n), RPC_E_DISCONNECTED);
    }
}

TEST_F(AccessibilityTest, ReadersHearThatTheItemsMovedWhenAWindowChangesDpi) {
    ColorPickerWindow& picker = dialogs.picker;
    OptionsWindow& about = dialogs.Make();
    ASSERT_TRUE(about.Load());
    ASSERT_TRUE(picker.Load());
    // Each window, and where its first item is in its client area.
    const std::tuple<const char*, HWND, std::function<RECT()>> cases[] = {
        {"calendar", h, [&] { return window.LabelRect(LabelId::lblMonth); }},
        {"options", about.Handle(),
         [&] { return ToRect(ControlPixels(OptionsControl::lblTitle, about.Dpi())); }},
        {"picker", picker.Handle(), [&] { return picker.CellRect(0); }},
    };
    for (const auto& [name, hwnd, firstItem] : cases) {
        SCOPED_TRACE(name);
        Reader r(hwnd);
        ASSERT_TRUE(r);
        const long last = r.Count();
        EventLog log(hwnd);
        ASSERT_TRUE(log.Hooked());
        SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
        EXPECT_TRUE(PumpUntil([&] {
            return log.Has(EVENT_OBJECT_LOCATIONCHANGE, OBJID_CLIENT, CHILDID_SELF) &&
                   log.Has(EVENT_OBJECT_LOCATIONCHANGE, OBJID_CLIENT, 1) &&
                   log.Has(EVENT_OBJECT_LOCATIONCHANGE, OBJID_CLIENT, last);
        }));
        EXPECT_EQ(r.Location(1), ScreenRect(hwnd, firstItem()));
    }
}

// A window of the toolkit whose items and tips a test sets, read through
// the real accessible object. A message that throws stands for a handler's
// fault.
struct ItemsWindow : AccessibleContent, TipSource {
    HWND hwnd_ = nullptr;
    std::vector<AccessibleItem> items;
    std::vector<int> pressed;
    std::vector<TipTool> tools;
    WindowAccessibility access{*this};
    WindowTips tips{*this};

    explicit ItemsWindow(const wchar_t* name = L"MivraTestItems") {
        WindowToolkit::Create(this, GetModuleHandleW(nullptr),
                              {.className = name, .style = WS_POPUP | WS_VISIBLE}, {0, 0, 90, 30});
    }
    ~ItemsWindow() { DestroyWindow(hwnd_); }
    int ItemCount() const override { return static_cast<int>(items.size()); }
    AccessibleItem Item(int i) const override { return items[i]; }
    int ItemAt(POINT) const override { return -1; }
    void Press(int i) override { pressed.push_back(i); }
    std::vector<TipTool> TipTools() const override { return tools; }
    const wchar_t* TipText(UINT_PTR) const override { return L"tip"; }
    int TipDpi() const override { return 96; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_APP) throw 1;
        if (LRESULT r; access.Handle(hwnd_, msg, wp, lp, r) || tips.Handle(hwnd_, msg, wp, lp, r))
            return r;
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
};

TEST(AccessibleItems, ItemsThatComeAndGoAreAnnouncedAndAPressOfAGoneItemDoesNothing) {
    ItemsWindow w;
    Reader r(w.hwnd_);
    ASSERT_TRUE(r);
    EXPECT_EQ(r.Count(), 0);
    EXPECT_EQ(r.Navigate(NAVDIR_FIRSTCHILD, CHILDID_SELF), -1);
    EXPECT_EQ(r.Navigate(NAVDIR_LASTCHILD, CHILDID_SELF), -1);

    // Three buttons in a row arrive: readers are told to read it again.
    EventLog log(w.hwnd_);
    for (int i = 0; i < 3; ++i)
        w.items.push_back({.name = std::wstring(1, L'a' + i),
                           .bounds = {30 * i, 0, 30 * i + 30, 30},
                           .action = L"Press"});
    w.access.ItemsChanged();
    EXPECT_TRUE(
        PumpUntil([&] { return log.Has(EVENT_OBJECT_REORDER, OBJID_CLIENT, CHILDID_SELF); }));
    EXPECT_EQ(std::tuple(r.Count(), r.Name(3), r.Navigate(NAVDIR_LEFT, 3)), std::tuple(3, L"c", 2));

    // A press runs later, from the queue: an item gone by then, or a window
    // hidden by then, takes none.
    EXPECT_EQ(r->accDoDefaultAction(Child(3)), S_OK);
    w.items.pop_back();
    PumpFor(50);
    EXPECT_EQ(r->accDoDefaultAction(Child(2)), S_OK);
    ShowWindow(w.hwnd_, SW_HIDE);
    PumpFor(50);
    ShowWindow(w.hwnd_, SW_SHOWNA);
    EXPECT_EQ(r->accDoDefaultAction(Child(1)), S_OK);
    EXPECT_TRUE(PumpUntil([&] { return !w.pressed.empty(); }));
    EXPECT_EQ(w.pressed, std::vector<int>{0});

    // A handler that throws gets the default answer; the window lives on.
    EXPECT_EQ(SendMessageW(w.hwnd_, WM_APP, 0, 0), 0);
    EXPECT_TRUE(IsWindow(w.hwnd_));
}

TEST(WindowTips, AreMadeOnFirstNeedAskedForOnceAndAnswerOnlyTheirOwnControl) {
    // A class the system will not register makes no window.
    EXPECT_EQ(ItemsWindow(nullptr).hwnd_, nullptr);
    ItemsWindow w;
    SendMessageW(w.hwnd_, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0); // nothing to re-font yet
    SendMessageW(w.hwnd_, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(w.tips.Control(), nullptr) << "no tools, no control";
    w.tools = {{.id = 1, .rect = {0, 0, 30, 30}}};
    {
        const RefusedClass refused(TOOLTIPS_CLASSW);
        SendMessageW(w.hwnd_, WM_MOUSEMOVE, 0, 0);
        SendMessageW(w.hwnd_, WM_MOUSEMOVE, 0, 0);
        EXPECT_EQ(w.tips.Control(), nullptr);
        EXPECT_EQ(RefusedClass::refused, 1) << "asked for once, not at every move";
    }
    ItemsWindow again;
    // A painted label's tool, and a real control's, which the control names.
    const HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 40, 0, 30, 30, again.hwnd_,
                                        nullptr, nullptr, nullptr);
    again.tools = {w.tools[0], {.id = 2, .control = button}};
    SendMessageW(again.hwnd_, WM_MOUSEMOVE, 0, 0);
    ASSERT_NE(again.tips.Control(), nullptr);
    EXPECT_EQ(SendMessageW(again.tips.Control(), TTM_GETTOOLCOUNT, 0, 0), 2);
    again.tips.DpiChanged(); // the control's tool follows its window as it is
    // Only the tip control's own request for a text is answered.
    auto ask = [&](HWND from, UINT code, UINT_PTR id = 1) {
        NMTTDISPINFOW info{{from, id, code}};
        SendMessageW(again.hwnd_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return std::wstring(info.lpszText ? info.lpszText : L"");
    };
    EXPECT_EQ(ask(again.hwnd_, TTN_GETDISPINFOW), L"");
    EXPECT_EQ(ask(again.tips.Control(), TTN_SHOW), L"");
    EXPECT_EQ(ask(again.tips.Control(), TTN_GETDISPINFOW), L"tip");
    EXPECT_EQ(ask(again.tips.Control(), TTN_GETDISPINFOW, reinterpret_cast<UINT_PTR>(button)),
              L"tip");
    EXPECT_EQ(ask(again.tips.Control(), TTN_GETDISPINFOW, 2), L"") << "named by its window";
}

TEST(AccessibleDates, DaysBeforeWindowsCalendarAreNamedFromTheLocale) {
    // Windows formats no date before 1601; the grid goes back to year 100.
    UserDateText text;
    EXPECT_EQ(text.LongDate(D(1500, 3, 1)), L"Thursday, March 1, 1500");
    EXPECT_EQ(text.LongDate(D(2000, 10, 18)), L"Wednesday, October 18, 2000");
}

// Windows documents that BM_CLICK may fail while the button's window is not
// the active one; Wine's buttons always take it, so this stands in.
LRESULT CALLBACK ClicksOnlyWhenActive(HWND button, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR) {
    if (msg == BM_CLICK && GetActiveWindow() != GetParent(button)) return 0;
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(button, ClicksOnlyWhenActive, 1);
    return DefSubclassProc(button, msg, wp, lp);
}

TEST_F(AccessibilityTest, APressOfARealButtonWorksWhileAnotherWindowIsActive) {
    dialogs.paths = ComputeShortcutPaths(L"C:\\Startup", L"C:\\Apps\\Mivra.exe");
    OptionsWindow& about = dialogs.Make();
    ASSERT_TRUE(about.Load());
    ShowWindow(about.Handle(), SW_SHOWNA);
    for (OptionsControl id : {OptionsControl::cmd_Clr_Def, OptionsControl::cbxLoadWW})
        SetWindowSubclass(about.Control(id), ClicksOnlyWhenActive, 1, 0);
    // The reader's own window, say, has the focus.
    HWND other = CreateWindowExW(0, L"STATIC", L"reader", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                 nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    ASSERT_NE(GetActiveWindow(), about.Handle());
    Reader r(about.Handle());
    ASSERT_TRUE(r);
    registry.ClearLog();
    EXPECT_EQ(r->accDoDefaultAction(Child(11)), S_OK); // Reset Colors to Default
    EXPECT_EQ(r->accDoDefaultAction(Child(7)), S_OK);  // the check box
    EXPECT_TRUE(PumpUntil([&] { return !dialogs.files.created.empty(); }));
    EXPECT_EQ(registry.CallsOf(FakeRegistry::Op::Set).size(), 2u);
    EXPECT_EQ(SendMessageW(about.Control(OptionsControl::cbxLoadWW), BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_TRUE(r.State(7) & STATE_SYSTEM_CHECKED);
    EXPECT_EQ(r.Action(7), L"Uncheck");
    // Pressed again it clears, and the shortcut goes.
    EXPECT_EQ(r->accDoDefaultAction(Child(7)), S_OK);
    EXPECT_TRUE(PumpUntil([&] { return !dialogs.files.removed.empty(); }));
    EXPECT_EQ(r.Action(7), L"Check");
    DestroyWindow(other);
}

} // namespace
} // namespace mivra
