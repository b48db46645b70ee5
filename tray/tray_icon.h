// The notification icon: its record, the three operations on it, and the
// decoding of its callbacks. The record is held in portable form; the Win32
// layer copies it into NOTIFYICONDATAA.
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

// The one notification icon, over the program's record (`TrayIconData`):
// fills it, and adds, changes and deletes the icon. Once the delete has
// begun the program is closing: no add or change reaches the shell again,
// and one that was waiting on the shell when the close came reports
// failure, so nothing acts on its answer.
class TrayIcon {
public:
    TrayIcon(NotifyRecord& record, TrayArea& shell) : record_(record), shell_(shell) {}

    // Every field: the callback window, the id, the callback message, the
    // tip (the text, one NUL, blanks) and the picture.
    void Fill(std::uintptr_t window, std::uintptr_t picture);
    void SetPicture(std::uintptr_t picture) { record_.hIcon = picture; }
    std::uintptr_t Picture() const { return record_.hIcon; }

    bool Add() { return Call(NotifyOp::Add); }
    bool Modify() { return Call(NotifyOp::Modify); }
    // Names the icon afresh (size, window, id) and deletes it.
    void Delete(std::uintptr_t window);
    bool Closing() const { return closing_; }

private:
    bool Call(NotifyOp op);

    NotifyRecord& record_;
    TrayArea& shell_;
    bool closing_ = false;
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
// proportion at other DPIs (20 at 120, 24 at 144, 32 at 192, 48 at 288).
int TrayIconSize(int dpi);

// The size of the picture to make for a notification area that shows icons
// `traySize` pixels square: the largest drawn size that fits, the icons' 32
// among them, so the system scales the picture up a little rather than down
// a lot; below them all, the smallest.
int DayPictureSize(int traySize);

// The notification code a WM_MOUSEMOVE of the callback window carries: the
// low 16 bits of its lParam. Nothing else of the message counts.
constexpr std::int32_t TrayCallbackCode(std::intptr_t lParam) {
    return static_cast<std::int32_t>(static_cast<std::uintptr_t>(lParam) & 0xFFFF);
}

// Left or right button-up on the icon.
bool IsToggleCode(std::int32_t code);

} // namespace mivra
