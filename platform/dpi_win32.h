// The DPI a window is shown at, on every Windows version we run on.
#pragma once

#include <windows.h>

namespace mivra {

// The window's DPI (per monitor where the system knows it), else the system's.
int WindowDpi(HWND hwnd);
int SystemDpi();
// Opts the process into per-monitor DPI awareness where the manifest could
// not (older systems ignore the manifest entry).
void EnableDpiAwareness();

} // namespace mivra
