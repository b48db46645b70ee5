// Draws the README's picture of the calendar, the options window and the
// colour picker under Windows' dark contrast theme: the real windows, shown
// side by side, copied from the screen into a BMP file.
//
//   mivra_contrast_shot.exe <out.bmp>      (scripts/contrast-shot runs it)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

#include "app/calendar_app.h"
#include "app/calendar_window_win32.h"
#include "app/system_win32.h"
#include "settings/options_window_win32.h"
#include "tests/support/app_fakes.h"
#include "tests/support/fake_shortcut_files.h"
#include "tests/support/system_colors_win32.h"

namespace {

using namespace mivra;

void Pump(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    MSG m;
    while (GetTickCount64() < end) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// The windows as they are on the screen, each copied from its own surface,
// on a black ground.
bool SaveWindows(const std::vector<HWND>& windows, const RECT& r, const char* path) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC mem = CreateCompatibleDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    PatBlt(mem, 0, 0, w, h, BLACKNESS);
    for (HWND window : windows) {
        RECT at;
        GetWindowRect(window, &at);
        HDC dc = GetWindowDC(window);
        BitBlt(mem, at.left - r.left, at.top - r.top, at.right - at.left, at.bottom - at.top, dc, 0,
               0, SRCCOPY);
        ReleaseDC(window, dc);
    }
    GdiFlush();
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof(fh) + sizeof(bi.bmiHeader) + w * h * 4),
                        0, 0, static_cast<DWORD>(sizeof(fh) + sizeof(bi.bmiHeader))};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
    out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(bi.bmiHeader));
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(w) * h * 4);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    return out.good();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mivra_contrast_shot <out.bmp>\n");
        return 2;
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    test::TestSystemColors colors;
    colors.contrast = true;
    const test::DarkContrastTheme theme;

    ModuleState state;
    test::FakeClock clock;
    clock.now = test::D(2000, 10, 18);
    UserDateText text;
    test::RecordingTray tray;
    test::FakeIcons icons;
    FakeRegistry registry;
    CalendarWindow calendar(colors);
    if (!calendar.Create(instance)) return 1;
    ColorPickerWindow picker(instance, state, colors);
    test::FakeShortcutFiles files;
    files.startupFolder = L"C:\\Startup";
    struct : LinkOpener {
        void Open(std::wstring_view) override {}
    } links;
    OptionsWindow options(instance,
                          {state, registry, picker, files, links,
                           [] { return ComputeShortcutPaths(L"C:\\Startup", L"C:\\Mivra.exe"); },
                           colors},
                          calendar.Handle());
    CalendarApp app(state, {clock, text, tray, icons, calendar, options, registry});
    options.Attach(&app);
    calendar.Attach(&app);
    app.Startup();
    if (!options.Load() || !picker.Load()) return 1;

    // Side by side from the top left, 8 pixels apart, on a dark ground.
    const int gap = 8;
    RECT c, o, p;
    GetWindowRect(calendar.Handle(), &c);
    GetWindowRect(options.Handle(), &o);
    GetWindowRect(picker.Handle(), &p);
    const int cw = c.right - c.left, ow = o.right - o.left, pw = p.right - p.left;
    SetWindowPos(calendar.Handle(), HWND_TOPMOST, gap, gap, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetWindowPos(options.Handle(), HWND_TOPMOST, 2 * gap + cw, gap, 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW);
    SetWindowPos(picker.Handle(), HWND_TOPMOST, 3 * gap + cw + ow, gap, 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW);
    Pump(1500);
    const int height = std::max({c.bottom - c.top, o.bottom - o.top, p.bottom - p.top});
    const RECT all{0, 0, 4 * gap + cw + ow + pw, 2 * gap + height};
    return SaveWindows({calendar.Handle(), options.Handle(), picker.Handle()}, all, argv[1]) ? 0
                                                                                             : 1;
}
