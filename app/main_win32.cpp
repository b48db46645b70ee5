// Mivra: the date in the notification area, a month calendar one click away.
#include <windows.h>

#include "app/calendar_app.h"
#include "app/calendar_window_win32.h"
#include "app/system_win32.h"
#include "platform/dpi_win32.h"
#include "platform/handles_win32.h"
#include "platform/system_colors_win32.h"
#include "platform/trace_win32.h"
#include "settings/options_window_win32.h"
#include "settings/registry_win32.h"
#include "tray/icons_win32.h"
#include "tray/tray_area_win32.h"

// The one place that wires the concrete pieces together. Windows come to be
// here: the calendar window (hidden, with its hidden `pichook` child) before
// the logic starts; the options window only when the user opens it, and the
// colour picker only while the options window asks for a colour.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace mivra;
    TraceToDebugger();
    EnableDpiAwareness();
    // No COM and no common controls here: the apartment is entered by the
    // first shell call or screen reader (platform/apartment_win32.h), the
    // tooltips are made when the calendar is first shown or pointed at.

    ModuleState state;
    SystemClock clock;
    UserDateText text;
    ShellTrayArea tray;
    Icons icons(instance);
    Win32Registry registry;
    Win32SystemColors colors;
    CalendarWindow window(colors);
    if (!window.Create(instance)) return 1;
    ColorPickerWindow picker(instance, state, colors);
    Win32ShortcutFiles files;
    ShellLinks links;
    OptionsWindow options(instance,
                          {state, registry, picker, files, links, LoadShortcutPaths, colors},
                          window.Handle());

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
