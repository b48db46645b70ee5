// The DPI look-ups on the systems that lack their newer functions (Windows 7
// has none, 8.1 only GetDpiForMonitor) or where they fail; Wine has them
// all, so a stand-in for the look-up hides them.
#include "platform/dpi_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "app/calendar_window_win32.h"
#include "platform/handles_win32.h"
#include "tests/support/dib_canvas_win32.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/reader_win32.h"
#include "tests/support/system_colors_win32.h"

namespace mivra {
namespace {

// What the stand-in lets through, and what was asked for.
struct Stand {
    std::set<std::string> present, asked;
    int awareCalls = 0;
    UINT monitorDpi = 0;  // a GetDpiForWindow that answers this, when set
    bool failing = false; // the newer functions there, but failing
} stand;

template <typename F> FARPROC Proc(F* f) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(f));
}

struct Fakes {
    static BOOL WINAPI SetProcessDPIAware() {
        ++stand.awareCalls;
        return TRUE;
    }
    static UINT WINAPI DpiForWindow(HWND) { return stand.monitorDpi; }
    // Each newer function as it fails.
    static HRESULT WINAPI NoDpiForMonitor(HMONITOR, int, UINT*, UINT*) { return E_FAIL; }
    static BOOL WINAPI NoFrameForDpi(LPRECT, DWORD, BOOL, DWORD, UINT) { return FALSE; }
    static BOOL WINAPI NoParametersForDpi(UINT, UINT, PVOID, UINT, UINT) { return FALSE; }
    static BOOL WINAPI NoAwarenessContext(HANDLE) { return FALSE; }
};

FARPROC Lookup(DpiLibrary library, const char* name) {
    stand.asked.insert(name);
    static const std::map<std::string, FARPROC> failures = {
        {"GetDpiForWindow", Proc(Fakes::DpiForWindow)},
        {"GetDpiForMonitor", Proc(Fakes::NoDpiForMonitor)},
        {"AdjustWindowRectExForDpi", Proc(Fakes::NoFrameForDpi)},
        {"SystemParametersInfoForDpi", Proc(Fakes::NoParametersForDpi)},
        {"SetProcessDpiAwarenessContext", Proc(Fakes::NoAwarenessContext)}};
    if (name == std::string("SetProcessDPIAware")) return Proc(Fakes::SetProcessDPIAware);
    if (stand.monitorDpi && name == std::string("GetDpiForWindow"))
        return Proc(Fakes::DpiForWindow);
    if (stand.failing && failures.contains(name)) return failures.at(name);
    return stand.present.contains(name) ? SystemDpiFunction(library, name) : nullptr;
}

// Refuses the `refused`th window creation from now, counted from 1.
int refused = 0;
LRESULT CALLBACK RefuseCreation(int code, WPARAM wp, LPARAM lp) {
    return code == HCBT_CREATEWND && --refused == 0 ? 1 : CallNextHookEx(nullptr, code, wp, lp);
}

class OlderSystemsTest : public ::testing::Test {
protected:
    void SetUp() override {
        stand = {};
        dpiFunction = Lookup;
    }
    void TearDown() override { dpiFunction = SystemDpiFunction; }
    ~OlderSystemsTest() override { DestroyWindow(window_); }

    HWND window_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
};

TEST_F(OlderSystemsTest, Windows7AndFailingNewerCallsAskTheScreenDcAndScaleTheSystemsFont) {
    const int screen = GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSX);
    RECT adjusted{0, 0, 0, 0};
    AdjustWindowRectEx(&adjusted, WS_CAPTION, FALSE, WS_EX_TOOLWINDOW);
    NONCLIENTMETRICSW m{sizeof(m)};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
    for (bool fail : {false, true}) {
        SCOPED_TRACE(fail ? "newer calls that fail" : "Windows 7");
        stand.failing = fail;
        stand.awareCalls = 0;
        EXPECT_EQ(std::tuple(SystemDpi(), WindowDpi(window_), WindowDpi(nullptr),
                             MonitorDpi(window_), MonitorDpi(nullptr)),
                  std::tuple(screen, screen, screen, screen, screen));
        EXPECT_EQ(MetricForDpi(SM_CXSMICON, 2 * screen, 77), 77);
        EXPECT_EQ(test::Box(FrameForDpi(WS_CAPTION, WS_EX_TOOLWINDOW, 2 * screen)),
                  test::Box(adjusted));
        EXPECT_EQ(StatusFontForDpi(2 * screen).lfHeight, 2 * m.lfStatusFont.lfHeight);
        EnableDpiAwareness();
        EXPECT_EQ(stand.awareCalls, 1) << "the Vista call, where the manifest is not read";
    }
    for (const char* newer : {"GetDpiForSystem", "GetDpiForWindow", "GetDpiForMonitor",
                              "GetSystemMetricsForDpi", "AdjustWindowRectExForDpi",
                              "SystemParametersInfoForDpi", "SetProcessDpiAwarenessContext"})
        EXPECT_TRUE(stand.asked.contains(newer)) << newer;
}

TEST_F(OlderSystemsTest, Windows81TakesTheMonitorsDpiButNoPerWindowOne) {
    stand.present = {"GetDpiForMonitor"};
    UINT x = 0, y = 0;
    using Fn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    const auto real = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(SystemDpiFunction(DpiLibrary::Shcore, "GetDpiForMonitor")));
    ASSERT_NE(real, nullptr);
    ASSERT_EQ(real(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), 0, &x, &y), S_OK);
    EXPECT_EQ(MonitorDpi(window_), static_cast<int>(x));
    EXPECT_EQ(WindowDpi(window_), SystemDpi());
}

TEST_F(OlderSystemsTest, AWindowMadeOnAMonitorOfAnotherDpiIsLaidOutForIt) {
    test::TestSystemColors colors;
    stand.monitorDpi = 144; // the system's is 96: the window lands on a second monitor
    HWND h = nullptr;
    {
        CalendarWindow window(colors);
        ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
        h = window.Handle();
        EXPECT_EQ(window.Dpi(), 144);
        const RECT r = test::OuterRect(h);
        EXPECT_EQ(r.right - r.left, TwipsToPixels(kCalendarWidthTwips, 144));
        EXPECT_EQ(r.bottom - r.top, TwipsToPixels(kCalendarHeightTwips, 144));
        // Before its logic is attached it paints only its black frame, shows
        // a reader nothing, and the shell's messages reach no one.
        EXPECT_EQ(test::DibCanvas(h).At(20, 8), 0u);
        const test::Reader reader(h);
        EXPECT_EQ(std::pair(reader.Count(), reader.Selection()), std::pair(0L, -1L));
        SendMessageW(window.Hook(), WM_MOUSEMOVE, 0, WM_LBUTTONUP);
        SendMessageW(h, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        EXPECT_FALSE(IsWindowVisible(h));
    } // and its end takes the window with it
    EXPECT_FALSE(IsWindow(h));
    // The system refuses the window, or only its callback child: no calendar.
    for (int which : {1, 2}) {
        CalendarWindow window(colors);
        refused = which;
        const HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseCreation, nullptr, GetCurrentThreadId());
        EXPECT_FALSE(window.Create(GetModuleHandleW(nullptr))) << which;
        UnhookWindowsHookEx(hook);
    }
    test::DropMessages();
}

} // namespace
} // namespace mivra
