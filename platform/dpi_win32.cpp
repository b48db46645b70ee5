#include "platform/dpi_win32.h"

#include "platform/handles_win32.h"

namespace mivra {

namespace {

template <typename F> F User32Function(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(dpiFunction(DpiLibrary::User32, name)));
}

template <typename F> F ShcoreFunction(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(dpiFunction(DpiLibrary::Shcore, name)));
}

} // namespace

FARPROC SystemDpiFunction(DpiLibrary library, const char* name) {
    if (library == DpiLibrary::User32) return GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    // Windows 7 has no shcore.dll; taken from the system folder only, never
    // from beside the program.
    static const HMODULE shcore =
        LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shcore ? GetProcAddress(shcore, name) : nullptr;
}

int SystemDpi() {
    using Fn = UINT(WINAPI*)();
    const Fn forSystem = User32Function<Fn>("GetDpiForSystem");
    if (forSystem) return static_cast<int>(forSystem());
    WindowDc dc(nullptr);
    const int dpi = dc.Get() ? GetDeviceCaps(dc.Get(), LOGPIXELSX) : 96;
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND hwnd) {
    using Fn = UINT(WINAPI*)(HWND);
    const Fn forWindow = User32Function<Fn>("GetDpiForWindow");
    if (forWindow && hwnd) {
        const UINT dpi = forWindow(hwnd);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int MonitorDpi(HWND hwnd) {
    using Fn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    const Fn forMonitor = ShcoreFunction<Fn>("GetDpiForMonitor");
    if (forMonitor && hwnd) {
        const HMONITOR monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY);
        UINT x = 0, y = 0;
        // MDT_EFFECTIVE_DPI (0): the DPI the monitor's contents are scaled to.
        if (SUCCEEDED(forMonitor(monitor, 0, &x, &y)) && x > 0) return static_cast<int>(x);
    }
    return SystemDpi();
}

int MetricForDpi(int index, int dpi, int fallback) {
    using Fn = int(WINAPI*)(int, UINT);
    const Fn forDpi = User32Function<Fn>("GetSystemMetricsForDpi");
    const int metric = forDpi ? forDpi(index, static_cast<UINT>(dpi)) : 0;
    return metric > 0 ? metric : fallback;
}

RECT FrameForDpi(DWORD style, DWORD exStyle, int dpi) {
    RECT r{0, 0, 0, 0};
    using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    const Fn forDpi = User32Function<Fn>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return r;
}

LOGFONTW StatusFontForDpi(int dpi) {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    using Fn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    const Fn forDpi = User32Function<Fn>("SystemParametersInfoForDpi");
    if (forDpi &&
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi)))
        return metrics.lfStatusFont;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        // 9 points in the system's face: what the tips show on any system.
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(9, dpi, 72);
        return lf;
    }
    LOGFONTW lf = metrics.lfStatusFont;
    lf.lfHeight = MulDiv(lf.lfHeight, dpi, SystemDpi());
    return lf;
}

void EnableDpiAwareness() {
    using Fn = BOOL(WINAPI*)(HANDLE);
    const Fn setContext = User32Function<Fn>("SetProcessDpiAwarenessContext");
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 is -4.
    if (setContext && setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) return;
    using OldFn = BOOL(WINAPI*)();
    const OldFn setAware = User32Function<OldFn>("SetProcessDPIAware");
    if (setAware) setAware();
}

} // namespace mivra
