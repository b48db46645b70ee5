// The calendar window's labels as designed, each described completely: its
// kind, place, caption, font, colours, border and tooltip, and for a button
// what a press does. Painting, hit testing, tooltips, colours by kind,
// actions and what screen readers hear all come from this table.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/color.h"
#include "base/font.h"
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
class CalendarApp;

enum class LabelKind : std::uint8_t { Text, Weekday, Day, Button };

struct LabelSpec {
    LabelId id;
    std::string_view name;
    LabelKind kind = LabelKind::Text;
    TwipRect rect;
    std::wstring_view caption;
    FontSpec font;
    Color back = 0;
    Color fore = 0;
    bool border = false; // single, flat
    // Buttons have a tooltip; the jump to today's is set at run time.
    std::wstring_view tooltip;
    bool pressedLook = false;               // colours swapped while held
    int step = 0;                           // months a press steps the grid by
    bool repeats = false;                   // the step repeats while held
    void (CalendarApp::*click)() = nullptr; // what a click does
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
// Every label top to bottom, then left to right, as the window reads.
const std::array<LabelId, kLabelCount>& ReadingOrder();
// The step label whose name matches, ignoring case; null for none.
const LabelSpec* StepLabelNamed(std::wstring_view name);

// The frontmost label whose rectangle, as painted at a DPI, holds the pixel.
bool LabelAtPixel(int x, int y, int dpi, LabelId& out);

} // namespace mivra
