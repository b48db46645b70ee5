// The DPI a window is shown at, on every Windows version we run on. The
// newer user32 and shcore functions are looked up here and nowhere else.
#pragma once

#include <windows.h>

namespace mivra {

// The functions newer than the oldest Windows the program supports (8.1's
// GetDpiForMonitor, 10's per-window ones) are looked up when needed,
// through here; tests stand in for a system that lacks them.
enum class DpiLibrary { User32, Shcore };
FARPROC SystemDpiFunction(DpiLibrary library, const char* name);
inline FARPROC (*dpiFunction)(DpiLibrary, const char*) = SystemDpiFunction;

// The window's DPI (per monitor where the system knows it), else the system's.
int WindowDpi(HWND hwnd);
int SystemDpi();
// The DPI of the monitor that holds a window, even another program's, where
// the system knows one per monitor; else the system's.
int MonitorDpi(HWND hwnd);
// A system metric (SM_*) at a DPI, where the system scales metrics per DPI;
// else `fallback`.
int MetricForDpi(int index, int dpi, int fallback);
// The frame and caption around an empty client area of a window without a
// menu, at a DPI where the system can tell (else at the system's).
RECT FrameForDpi(DWORD style, DWORD exStyle, int dpi);
// The system's status and tooltip font, sized for a DPI: the system's own
// answer where it can give one for any DPI, else its font for the system
// DPI scaled.
LOGFONTW StatusFontForDpi(int dpi);
// Opts the process into per-monitor DPI awareness where the manifest could
// not (older systems ignore the manifest entry).
void EnableDpiAwareness();

} // namespace mivra
