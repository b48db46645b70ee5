// The notification-area record and the decoding of its callbacks. The record
// is held in portable form; the Win32 layer copies it into NOTIFYICONDATAA.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace mivra {

inline constexpr std::string_view kTrayTip = "Mivra 2000 - Click to see Calendar";
inline constexpr std::uint32_t kTrayIconId = 1;
inline constexpr std::uint32_t kTrayCallbackMessage = 0x0200; // WM_MOUSEMOVE
inline constexpr std::uint32_t kNifMessage = 1, kNifIcon = 2, kNifTip = 4;
inline constexpr std::uint32_t kNotifyRecordSize = 88; // first-version NOTIFYICONDATAA

enum class NotifyOp : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

struct NotifyRecord {
    std::uint32_t cbSize = 0;
    std::uintptr_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uintptr_t hIcon = 0;
    std::array<char, 64> szTip{};
};

// The tip as a fixed text of exactly 64 characters: the text, cut to 64 if
// longer, filled up with blanks if shorter.
std::array<char, 64> FixedTip(std::string_view text);

// What the shell does with the record.
class TrayArea {
public:
    virtual ~TrayArea() = default;
    virtual bool Notify(NotifyOp op, const NotifyRecord& record) = 0;
};

// The tray's pictures by day of the month (1 to 31), owned by the icon set.
class IconSource {
public:
    virtual ~IconSource() = default;
    // The day's picture at the notification area's current icon size.
    virtual std::uintptr_t IconForDay(int day) = 0;
    // Looks the notification area's icon size up again; true when it changed,
    // so that the pictures from now on are made at the new size.
    virtual bool TraySizeChanged() = 0;
};

// The notification area shows small icons: 16 pixels square at 96 dpi, in
// proportion at other DPIs (20 at 120, 24 at 144, 28 at 168, 32 at 192).
int TrayIconSize(int dpi);

// The size of the picture to make for a notification area that shows icons
// `traySize` pixels square: a size drawn for the tray where one fits, so the
// system scales the picture up a little rather than down a lot; from 32
// pixels on, the icons' own size.
int DayPictureSize(int traySize);

// Whether a WM_MOUSEMOVE that reached the callback window came from the shell.
bool IsTrayCallback(std::uintptr_t wParam, std::intptr_t lParam);

// Left or right button-up on the icon.
bool IsToggleCode(std::int32_t code);

} // namespace mivra
