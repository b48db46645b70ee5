// The calendar window's controls as designed: positions in twips, captions,
// fonts, colours, borders and tooltips, in front-to-back order.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/color.h"
#include "base/twips.h"

namespace mivra {

// Label identities. The order is the front-to-back order of the window:
// earlier entries are drawn over later ones and take the mouse first.
enum class LabelId : std::uint8_t {
    lblAbout,
    lblQuit,
    lblYearNext,
    lblMonthNext,
    lblToday,
    lblHide,
    lblYearPrev,
    lblMonthPrev,
    lblDow6, // lblDow(6) down to lblDow(0): the higher index in front
    lblDow0 = lblDow6 + 6,
    lblMonth,
    lblDay41, // lblDay(41) down to lblDay(0)
    lblDay0 = lblDay41 + 41,
};
inline constexpr int kLabelCount = static_cast<int>(LabelId::lblDay0) + 1;

constexpr LabelId Dow(int c) {
    return static_cast<LabelId>(int(LabelId::lblDow0) - c);
}
constexpr LabelId Day(int i) {
    return static_cast<LabelId>(int(LabelId::lblDay0) - i);
}
constexpr int Index(LabelId id) {
    return static_cast<int>(id);
}
struct LabelSpec {
    LabelId id;
    std::string_view name;
    TwipRect rect;
    std::wstring_view caption;
    FontSpec font;
    Color back;
    Color fore;
    bool border; // single, flat
    std::wstring_view tooltip;
};

inline constexpr int kCalendarWidthTwips = 2580;
inline constexpr int kCalendarHeightTwips = 3084;
inline constexpr std::wstring_view kCalendarCaption = L"Mivra 2000";
inline constexpr TwipRect kPichookRect{312, 3432, 615, 675};
inline constexpr unsigned kRefreshIntervalMs = 60000;
inline constexpr unsigned kButtonScrollIntervalMs = 250;

// All labels, indexed by LabelId.
const std::array<LabelSpec, kLabelCount>& CalendarLayout();
const LabelSpec& Design(LabelId id);

// The frontmost label whose rectangle, as painted at a DPI, holds the pixel.
bool LabelAtPixel(int x, int y, int dpi, LabelId& out);

} // namespace mivra
