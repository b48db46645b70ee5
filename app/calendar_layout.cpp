#include "app/calendar_layout.h"

#include <algorithm>
#include <cwctype>

#include "app/calendar_app.h"

namespace mivra {

namespace {

using LabelKind::Button;

constexpr Color kGrey = 0x00808080;
constexpr Color kWhite = 0x00FFFFFF;
constexpr FontSpec kButtonFont{kSansSerif, 1200};

// Columns of the grid, the weekday row and the button row share one pitch.
constexpr int ColumnLeft(int c) {
    return 24 + 360 * c;
}

// The bottom row's buttons share their place in a column and their look.
constexpr LabelSpec Bottom(int column, LabelSpec s) {
    s.kind = Button;
    s.rect = {ColumnLeft(column), 2736, 372, 324};
    if (s.font.face.empty()) s.font = kButtonFont;
    s.back = kGrey;
    s.fore = kWhite;
    s.border = true;
    s.pressedLook = true;
    return s;
}

constexpr std::array<std::wstring_view, 7> kDowCaptions = {L"Sun", L"Mon", L"Tue", L"Wed",
                                                           L"Thu", L"Fri", L"Sat"};
constexpr std::array<std::string_view, 7> kDowNames = {
    "lblDow(0)", "lblDow(1)", "lblDow(2)", "lblDow(3)", "lblDow(4)", "lblDow(5)", "lblDow(6)"};

constexpr std::array<LabelSpec, kLabelCount> BuildLayout() {
    std::array<LabelSpec, kLabelCount> t{};
    auto put = [&](const LabelSpec& s) { t[Index(s.id)] = s; };
    using enum LabelId;
    // clang-format off
    put(Bottom(6, {.id = lblAbout, .name = "lblAbout", .caption = L"?",
                   .tooltip = L"About Mivra 2000", .click = &CalendarApp::ShowOptions}));
    put({.id = lblQuit, .name = "lblQuit", .kind = Button, .rect = {2352, 36, 192, 192},
         .caption = L"x", .font = kDialogFont, .back = kGrey, .fore = kWhite,
         .tooltip = L"Quit", .click = &CalendarApp::Quit});
    put(Bottom(5, {.id = lblYearNext, .name = "lblYearNext", .caption = L">>",
                   .tooltip = L"Ahead One Year", .step = 12, .repeats = true}));
    put(Bottom(4, {.id = lblMonthNext, .name = "lblMonthNext", .caption = L">",
                   .tooltip = L"Ahead One Month", .step = 1, .repeats = true}));
    put(Bottom(3, {.id = lblToday, .name = "lblToday", .caption = L"\x6C",
                   .font = {L"Wingdings", 1440, true}, .click = &CalendarApp::JumpToToday}));
    put(Bottom(0, {.id = lblHide, .name = "lblHide", .caption = L"\xCA",
                   .font = {L"Wingdings", 1200, true}, .tooltip = L"Hide",
                   .click = &CalendarApp::HideCalendar}));
    put(Bottom(1, {.id = lblYearPrev, .name = "lblYearPrev", .caption = L"<<",
                   .tooltip = L"Back One Year", .step = -12, .repeats = true}));
    put(Bottom(2, {.id = lblMonthPrev, .name = "lblMonthPrev", .caption = L"<",
                   .tooltip = L"Back One Month", .step = -1, .repeats = true}));
    for (int c = 0; c < 7; ++c)
        put({.id = Dow(c), .name = kDowNames[c], .kind = LabelKind::Weekday,
             .rect = {ColumnLeft(c), 360, 372, 204}, .caption = kDowCaptions[c],
             .font = {L"Arial", 780, false}, .back = kGrey, .fore = kWhite});
    put({.id = lblMonth, .name = "lblMonth", .kind = LabelKind::Text, .rect = {24, 24, 2532, 348},
         .font = {L"Comic Sans MS", 1200, false}, .back = 0x00404000, .fore = 0x00C0FFFF});
    for (int i = 0; i < 42; ++i)
        put({.id = Day(i), .name = "lblDay", .kind = LabelKind::Day,
             .rect = {ColumnLeft(i % 7), 552 + 360 * (i / 7), 372, 372},
             .font = {L"Comic Sans MS", 1200, false}, .back = kWhite,
             .fore = SystemColor(SysColor::WindowText), .border = true});
    // clang-format on
    return t;
}

bool EqualsIgnoreCase(std::wstring_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

} // namespace

// Built by the compiler: the program carries the finished table.
constexpr std::array<LabelSpec, kLabelCount> kLayout = BuildLayout();

const std::array<LabelSpec, kLabelCount>& CalendarLayout() {
    return kLayout;
}

const LabelSpec& Design(LabelId id) {
    return CalendarLayout()[Index(id)];
}

// Sorted by the compiler too: no two labels start at one point.
constexpr std::array<LabelId, kLabelCount> kReadingOrder = [] {
    std::array<LabelId, kLabelCount> o{};
    for (int i = 0; i < kLabelCount; ++i)
        o[i] = static_cast<LabelId>(i);
    std::ranges::sort(o, [](LabelId a, LabelId b) {
        const TwipRect &ra = kLayout[Index(a)].rect, &rb = kLayout[Index(b)].rect;
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return o;
}();

const std::array<LabelId, kLabelCount>& ReadingOrder() {
    return kReadingOrder;
}

const LabelSpec* StepLabelNamed(std::wstring_view name) {
    for (const auto& s : CalendarLayout())
        if (s.step != 0 && EqualsIgnoreCase(name, s.name)) return &s;
    return nullptr;
}

bool LabelAtPixel(int x, int y, int dpi, LabelId& out) {
    for (const auto& s : CalendarLayout()) {
        if (PaintedPixels(s.rect, dpi).Contains(x, y)) {
            out = s.id;
            return true;
        }
    }
    return false;
}

} // namespace mivra
