#include "app/calendar_layout.h"

namespace mivra {

namespace {

constexpr Color kGrey = 0x00808080;
constexpr Color kWhite = 0x00FFFFFF;
constexpr FontSpec kButtonFont{L"MS Sans Serif", 1200, false};
constexpr FontSpec kDefaultFont{L"MS Sans Serif", 825, false};

// Columns of the grid, the weekday row and the button row share one pitch.
constexpr int ColumnLeft(int c) {
    return 24 + 360 * c;
}
constexpr int kButtonTop = 2736;

constexpr LabelSpec Button(LabelId id, std::string_view name, int column, std::wstring_view caption,
                           FontSpec font, std::wstring_view tip) {
    return {id,   name, {ColumnLeft(column), kButtonTop, 372, 324}, caption, font, kGrey, kWhite,
            true, tip};
}

constexpr std::array<std::wstring_view, 7> kDowCaptions = {L"Sun", L"Mon", L"Tue", L"Wed",
                                                           L"Thu", L"Fri", L"Sat"};
constexpr std::array<std::string_view, 7> kDowNames = {
    "lblDow(0)", "lblDow(1)", "lblDow(2)", "lblDow(3)", "lblDow(4)", "lblDow(5)", "lblDow(6)"};

std::array<LabelSpec, kLabelCount> BuildLayout() {
    std::array<LabelSpec, kLabelCount> t{};
    auto put = [&](const LabelSpec& s) { t[Index(s.id)] = s; };
    put(Button(LabelId::lblAbout, "lblAbout", 6, L"?", kButtonFont, L"About Mivra 2000"));
    put({LabelId::lblQuit,
         "lblQuit",
         {2352, 36, 192, 192},
         L"x",
         kDefaultFont,
         kGrey,
         kWhite,
         false,
         L"Quit"});
    put(Button(LabelId::lblYearNext, "lblYearNext", 5, L">>", kButtonFont, L"Ahead One Year"));
    put(Button(LabelId::lblMonthNext, "lblMonthNext", 4, L">", kButtonFont, L"Ahead One Month"));
    put(Button(LabelId::lblToday, "lblToday", 3, L"\x6C", {L"Wingdings", 1440, true}, L""));
    put(Button(LabelId::lblHide, "lblHide", 0, L"\xCA", {L"Wingdings", 1200, true}, L"Hide"));
    put(Button(LabelId::lblYearPrev, "lblYearPrev", 1, L"<<", kButtonFont, L"Back One Year"));
    put(Button(LabelId::lblMonthPrev, "lblMonthPrev", 2, L"<", kButtonFont, L"Back One Month"));
    for (int c = 0; c < 7; ++c)
        put({Dow(c),
             kDowNames[c],
             {ColumnLeft(c), 360, 372, 204},
             kDowCaptions[c],
             {L"Arial", 780, false},
             kGrey,
             kWhite,
             false,
             L""});
    put({LabelId::lblMonth,
         "lblMonth",
         {24, 24, 2532, 348},
         L"",
         {L"Comic Sans MS", 1200, false},
         0x00404000,
         0x00C0FFFF,
         false,
         L""});
    for (int i = 0; i < 42; ++i)
        put({Day(i),
             "lblDay",
             {ColumnLeft(i % 7), 552 + 360 * (i / 7), 372, 372},
             L"",
             {L"Comic Sans MS", 1200, false},
             kWhite,
             kSysColorWindowText,
             true,
             L""});
    return t;
}

} // namespace

const std::array<LabelSpec, kLabelCount>& CalendarLayout() {
    static const std::array<LabelSpec, kLabelCount> layout = BuildLayout();
    return layout;
}

const LabelSpec& Design(LabelId id) {
    return CalendarLayout()[Index(id)];
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
