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

// Icon handles by day of the month (1 to 31), owned by the icon set.
class IconSource {
public:
    virtual ~IconSource() = default;
    virtual std::uintptr_t IconForDay(int day) = 0;
};

// Whether a WM_MOUSEMOVE that reached the callback window came from the shell.
bool IsTrayCallback(std::uintptr_t wParam, std::intptr_t lParam);

// Left or right button-up on the icon.
bool IsToggleCode(std::int32_t code);

} // namespace mivra
