// Draws the README's picture of the calendar, the options window and the
// colour picker under Windows' dark contrast theme: the real windows, shown
// side by side, copied from the screen into a BMP file.
//
//   mivra_contrast_shot.exe <out.bmp>      (scripts/contrast-shot runs it)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "tests/support/calendar_window_rig_win32.h"
#include "tests/support/dib_canvas_win32.h"
#include "tests/support/message_pump_win32.h"
#include "tests/support/system_colors_win32.h"
#include "tests/support/window_rects_win32.h"

namespace {

using namespace mivra;

// The windows as they are on the screen, each copied from its own surface,
// on a black ground.
bool SaveWindows(const std::vector<HWND>& windows, const RECT& r, const char* path) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    const test::DibCanvas canvas(w, h);
    PatBlt(canvas.Dc(), 0, 0, w, h, BLACKNESS);
    for (HWND window : windows) {
        const RECT at = test::OuterRect(window);
        HDC dc = GetWindowDC(window);
        BitBlt(canvas.Dc(), at.left - r.left, at.top - r.top, at.right - at.left,
               at.bottom - at.top, dc, 0, 0, SRCCOPY);
        ReleaseDC(window, dc);
    }
    GdiFlush();
    const BITMAPINFOHEADER bi{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    const BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof(fh) + sizeof(bi) + w * h * 4), 0, 0,
                              static_cast<DWORD>(sizeof(fh) + sizeof(bi))};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
    out.write(reinterpret_cast<const char*>(&bi), sizeof(bi));
    out.write(reinterpret_cast<const char*>(canvas.Bits()),
              static_cast<std::streamsize>(w) * h * 4);
    return out.good();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mivra_contrast_shot <out.bmp>\n");
        return 2;
    }
    test::CalendarWindowRig rig;
    rig.colors.contrast = true;
    const test::DarkContrastTheme theme;
    if (!rig.Start()) return 1;
    rig.dialogs.paths = ComputeShortcutPaths(L"C:\\Startup", L"C:\\Mivra.exe");
    OptionsWindow& options = rig.dialogs.Make(rig.window.Handle());
    ColorPickerWindow& picker = rig.dialogs.picker;
    if (!options.Load() || !picker.Load()) return 1;

    // Side by side from the top left, 8 pixels apart, on a dark ground.
    const int gap = 8;
    const std::vector<HWND> windows = {rig.window.Handle(), options.Handle(), picker.Handle()};
    RECT all{0, 0, gap, 0};
    for (HWND w : windows) {
        const RECT r = test::OuterRect(w);
        SetWindowPos(w, HWND_TOPMOST, all.right, gap, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        all.right += r.right - r.left + gap;
        all.bottom = std::max(all.bottom, r.bottom - r.top + 2 * gap);
    }
    test::PumpFor(1500);
    return SaveWindows(windows, all, argv[1]) ? 0 : 1;
}
