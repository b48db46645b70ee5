// The DPI look-ups on the systems that lack their newer functions (Windows 7
// has none, 8.1 only GetDpiForMonitor); Wine has them all, so a stand-in
// for the look-up hides them.
#include "platform/dpi_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "app/calendar_window_win32.h"
#include "tests/support/system_colors_win32.h"

namespace mivra {
namespace {

// What the stand-in lets through, and what was asked for.
std::set<std::string> present, asked;
int awareCalls = 0;
UINT monitorDpi = 0; // a GetDpiForWindow that answers this, when set

BOOL WINAPI FakeSetProcessDPIAware() {
    ++awareCalls;
    return TRUE;
}
UINT WINAPI FakeDpiForWindow(HWND) {
    return monitorDpi;
}

FARPROC Lookup(DpiLibrary library, const char* name) {
    asked.insert(name);
    if (name == std::string("SetProcessDPIAware"))
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeSetProcessDPIAware));
    if (monitorDpi && name == std::string("GetDpiForWindow"))
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeDpiForWindow));
    return present.contains(name) ? SystemDpiFunction(library, name) : nullptr;
}

class OlderSystemsTest : public ::testing::Test {
protected:
    void SetUp() override {
        present.clear();
        asked.clear();
        awareCalls = 0;
        monitorDpi = 0;
        dpiFunction = Lookup;
    }
    void TearDown() override { dpiFunction = SystemDpiFunction; }
};

TEST_F(OlderSystemsTest, Windows7AsksTheScreenDcAndScalesTheSystemsOwnFont) {
    const int screen = [] {
        const HDC dc = GetDC(nullptr);
        const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
        ReleaseDC(nullptr, dc);
        return dpi;
    }();
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                             nullptr);
    EXPECT_EQ(SystemDpi(), screen);
    EXPECT_EQ(WindowDpi(w), screen);
    EXPECT_EQ(MonitorDpi(w), screen);
    EXPECT_EQ(MetricForDpi(SM_CXSMICON, 2 * screen, 77), 77);
    RECT adjusted{0, 0, 0, 0};
    AdjustWindowRectEx(&adjusted, WS_CAPTION, FALSE, WS_EX_TOOLWINDOW);
    const RECT frame = FrameForDpi(WS_CAPTION, WS_EX_TOOLWINDOW, 2 * screen);
    EXPECT_TRUE(EqualRect(&frame, &adjusted));
    NONCLIENTMETRICSW m{sizeof(m)};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
    EXPECT_EQ(StatusFontForDpi(2 * screen).lfHeight, 2 * m.lfStatusFont.lfHeight);
    EnableDpiAwareness();
    EXPECT_EQ(awareCalls, 1) << "the Vista call, where the manifest is not read";
    for (const char* newer : {"GetDpiForSystem", "GetDpiForWindow", "GetDpiForMonitor",
                              "GetSystemMetricsForDpi", "AdjustWindowRectExForDpi",
                              "SystemParametersInfoForDpi", "SetProcessDpiAwarenessContext"})
        EXPECT_TRUE(asked.contains(newer)) << newer;
    DestroyWindow(w);
}

TEST_F(OlderSystemsTest, Windows81TakesTheMonitorsDpiButNoPerWindowOne) {
    present = {"GetDpiForMonitor"};
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                             nullptr);
    UINT x = 0, y = 0;
    using Fn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    const auto real = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(SystemDpiFunction(DpiLibrary::Shcore, "GetDpiForMonitor")));
    ASSERT_NE(real, nullptr);
    ASSERT_EQ(real(MonitorFromWindow(w, MONITOR_DEFAULTTOPRIMARY), 0, &x, &y), S_OK);
    EXPECT_EQ(MonitorDpi(w), static_cast<int>(x));
    EXPECT_EQ(WindowDpi(w), SystemDpi());
    DestroyWindow(w);
}

TEST_F(OlderSystemsTest, AWindowMadeOnAMonitorOfAnotherDpiIsLaidOutForIt) {
    test::TestSystemColors colors;
    monitorDpi = 144; // the system's is 96: the window lands on a second monitor
    CalendarWindow window(colors);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(window.Dpi(), 144);
    RECT r;
    GetWindowRect(window.Handle(), &r);
    EXPECT_EQ(r.right - r.left, TwipsToPixels(kCalendarWidthTwips, 144));
    EXPECT_EQ(r.bottom - r.top, TwipsToPixels(kCalendarHeightTwips, 144));
    DestroyWindow(window.Handle());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

} // namespace
} // namespace mivra
