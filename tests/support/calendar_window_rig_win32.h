// A real calendar window driven by the real logic, with the platform's other
// parts faked so that nothing reaches the shell or the registry, and the real
// options window and picker beside it on the same state. Fixtures inherit it
// and call Start and Stop. And a date as Windows writes it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/calendar_app.h"
#include "app/calendar_window_win32.h"
#include "tests/support/app_fakes.h"
#include "tests/support/fake_registry.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/options_window_rig_win32.h"
#include "tests/support/system_colors_win32.h"

namespace mivra::test {

struct CalendarWindowRig : AppFakes {
    explicit CalendarWindowRig(const CalendarTimings& timings = {}) : window(colors, timings) {}

    TestSystemColors colors;
    CalendarWindow window;
    HWND h = nullptr; // the window, once started
    std::unique_ptr<CalendarApp> app;
    // The real options window and picker; the logic itself talks to `options`.
    OptionsWindowRig dialogs{state, registry, colors};

    // Started hidden, as the program starts: on 18 October 2000 with the
    // fakes' dates and pictures unless told otherwise.
    bool Start(const Date& today = D(2000, 10, 18)) { return Start(today, text, icons); }
    bool Start(const Date& today, DateText& dates, IconSource& pictures) {
        clock.now = today;
        if (!window.Create(GetModuleHandleW(nullptr))) return false;
        h = window.Handle();
        app = std::make_unique<CalendarApp>(
            state, CalendarApp::Services{clock, dates, tray, pictures, window, options, registry});
        window.Attach(app.get());
        app->Startup();
        return true;
    }
    void Stop() {
        dialogs.window.reset();
        if (IsWindow(window.Handle())) DestroyWindow(window.Handle());
        DropMessages(); // the window's end posts WM_QUIT
    }
};

// A date as Windows writes it in a locale's short form, the user's by default.
inline std::wstring WindowsShortDate(const Date& d, const wchar_t* locale = nullptr) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(d.Year());
    st.wMonth = static_cast<WORD>(d.Month());
    st.wDay = static_cast<WORD>(d.Day());
    wchar_t buf[80] = {};
    // A date Windows cannot write matches nothing the program shows.
    return GetDateFormatEx(locale, DATE_SHORTDATE, &st, nullptr, buf, 80, nullptr) > 0
               ? buf
               : L"(no date)";
}

} // namespace mivra::test
