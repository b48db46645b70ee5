// Mivra: the date in the notification area, a month calendar one click away.
#include <windows.h>

#include "app/calendar_app.h"
#include "app/calendar_window_win32.h"
#include "app/system_win32.h"
#include "platform/dpi_win32.h"
#include "settings/options_window_win32.h"
#include "settings/registry_win32.h"
#include "tray/icons_win32.h"
#include "tray/tray_area_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace mivra;
    EnableDpiAwareness();

    ModuleState state;
    SystemClock clock;
    UserDateText text;
    ShellTrayArea tray;
    Icons icons(instance);
    Win32Registry registry;
    CalendarWindow window;
    if (!window.Create(instance)) return 1;
    OptionsWindow options(instance, state, registry, window.Handle());

    CalendarApp app(state, {clock, text, tray, icons, window, options, registry});
    options.Attach(&app);
    window.Attach(&app);
    app.Startup();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // The options window and the picker are dialogs: give them their keys.
        if (options.PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
