// Paints the whole calendar window into a memory DC, at 96 and at 144 dpi,
// and fills the same rectangle once, the floor under any paint of it. Prints
// "paint <dpi> <us per paint> <us per fill> <width> <height>", each time the
// median of several runs.
//   mivra_paint_bench [runs] [paints per run]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "tests/support/calendar_window_rig_win32.h"

namespace mivra {
namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Seconds(const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
    static const double freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(b.QuadPart - a.QuadPart) / freq;
}

// Microseconds per call of `work`, median over `runs` runs of `count` calls.
template <typename F> double TimePerCall(int runs, int count, F work) {
    std::vector<double> per;
    for (int r = 0; r < runs; ++r) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        for (int i = 0; i < count; ++i)
            work();
        GdiFlush();
        QueryPerformanceCounter(&b);
        per.push_back(Seconds(a, b) * 1e6 / count);
    }
    return Median(per);
}

int Run(int runs, int paints) {
    // The real window and logic on 18 October 2000; the shell and the
    // options window play no part in painting.
    test::CalendarWindowRig rig;
    if (!rig.Start()) {
        std::fprintf(stderr, "paint bench: the calendar window was not created\n");
        return 1;
    }
    CalendarWindow& window = rig.window;

    const HDC screen = GetDC(nullptr);
    for (const int dpi : {96, 144}) {
        if (window.Dpi() != dpi) {
            RECT at;
            GetWindowRect(window.Handle(), &at);
            SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&at));
        }
        RECT client;
        GetClientRect(window.Handle(), &client);
        if (window.Dpi() != dpi || client.right <= 0 || client.bottom <= 0) {
            std::fprintf(stderr, "paint bench: the window did not take %d dpi\n", dpi);
            return 1;
        }
        UniqueMemoryDc dc(CreateCompatibleDC(screen));
        UniqueBitmap bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
        if (!dc || !bitmap) {
            std::fprintf(stderr, "paint bench: no memory DC\n");
            return 1;
        }
        SelectedObject keep(dc.Get(), bitmap.Get());
        // The first paint at a DPI makes its fonts; that is not the steady state.
        for (int i = 0; i < 20; ++i)
            window.PaintContent(dc.Get(), client);

        const double paint =
            TimePerCall(runs, paints, [&] { window.PaintContent(dc.Get(), client); });
        const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        const double fill =
            TimePerCall(runs, paints * 20, [&] { FillRect(dc.Get(), &client, black); });
        std::printf("paint %d %.2f %.3f %ld %ld\n", dpi, paint, fill, client.right, client.bottom);
        std::fflush(stdout);
    }
    ReleaseDC(nullptr, screen);
    return 0;
}

} // namespace
} // namespace mivra

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 9;
    const int paints = argc > 2 ? std::max(1, _wtoi(argv[2])) : 200;
    return mivra::Run(runs, paints);
}
