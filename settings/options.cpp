#include "settings/options.h"

#include <algorithm>
#include <string>
#include <utility>

#include "settings/registry.h"

namespace mivra {

namespace {

using enum OptionsControl;
using enum ControlKind;

constexpr TextStyle kPlain{kDialogFont};
constexpr int kNoTab = -1;

constexpr OptionsControlSpec Button(OptionsControl id, std::string_view name, TwipRect rect,
                                    std::wstring_view text, int tab) {
    return {id, name, PushButton, rect, text, kPlain, kSysColorButtonText, tab};
}

constexpr OptionsControlSpec Tick(OptionsControl id, std::string_view name, TwipRect rect,
                                  std::wstring_view text, int tab) {
    return {id, name, CheckBox, rect, text, kPlain, kSysColorButtonText, tab};
}

constexpr OptionsControlSpec Text(OptionsControl id, std::string_view name, TwipRect rect,
                                  std::wstring_view text, TextStyle style,
                                  Color fore = kSysColorButtonText) {
    return {id, name, Label, rect, text, style, fore, kNoTab};
}

constexpr TextStyle Sans(int centiPoints, bool bold = false, bool italic = false,
                         bool underline = false) {
    return {{L"MS Sans Serif", centiPoints}, bold, italic, underline};
}

constexpr std::array<OptionsControlSpec, kOptionsControlCount> kLayout = {
    Button(cmdHomePage, "cmdHomePage", {288, 1464, 2580, 300}, L"Mivra 2000 Home Page...", 11),
    Button(cmd_Clr_Def, "cmd_Clr_Def", {360, 4416, 2472, 312}, L"Reset Colors to Default", 9),
    Button(cmd_Lab_Clr, "cmd_Lab_Clr", {360, 4032, 2472, 312}, L"Adjust Label Color", 8),
    Button(cmd_Cal_Clr, "cmd_Cal_Clr", {360, 3648, 2472, 312}, L"Adjust Calendar Color", 7),
    Tick(cbxLoadWW, "cbxLoadWW", {264, 2472, 2820, 192}, L"Run \"Mivra\" on Windows Startup", 5),
    Button(cmdClose, "cmdClose", {1188, 3252, 855, 300}, L"OK", 2),
    Text(lblAuthor, "lblAuthor", {144, 864, 2928, 252}, kAuthorCredit, Sans(960)),
    Text(lblNote, "lblNote", {84, 1920, 3048, 504}, kNoteCredit, Sans(780, false, true)),
    Text(lblTitle, "lblTitle", {120, 150, 2925, 375}, L"Mivra  2000", Sans(1200, true)),
    Text(lblContact, "lblContact", {132, 1104, 2928, 276}, kContactAddress,
         Sans(960, false, false, true), kLinkColor),
    Text(lblAuthorHeading, "lblAuthorHeading", {60, 564, 3072, 252}, L"Author:", kPlain),
    // The panel: a solid fill inside a line of the window-text colour.
    OptionsControlSpec{shpPanel,
                       "shpPanel",
                       Shape,
                       {24, 36, 3132, 4896},
                       L"",
                       kPlain,
                       kSysColorWindowText,
                       kNoTab},
};

static_assert([] {
    for (int i = 0; i < kOptionsControlCount; ++i)
        if (Index(kLayout[i].id) != i) return false;
    return true;
}());

} // namespace

const std::array<OptionsControlSpec, kOptionsControlCount>& OptionsLayout() {
    return kLayout;
}

const OptionsControlSpec& Design(OptionsControl id) {
    return kLayout[Index(id)];
}

std::array<OptionsControl, 6> OptionsFocusOrder() {
    std::array<OptionsControl, 6> order{};
    std::size_t n = 0;
    for (const auto& s : kLayout)
        if (s.tabIndex != kNoTab && n < order.size()) order[n++] = s.id;
    std::sort(order.begin(), order.end(), [](OptionsControl a, OptionsControl b) {
        return Design(a).tabIndex < Design(b).tabIndex;
    });
    return order;
}

PixelRect ControlPixels(OptionsControl id, int dpi) {
    const OptionsControlSpec& s = Design(id);
    const bool painted = s.kind == ControlKind::Label || s.kind == ControlKind::Shape;
    return painted ? PaintedPixels(s.rect, dpi) : WindowPixels(s.rect, dpi);
}

bool ControlHasPixel(OptionsControl id, int x, int y, int dpi) {
    return ControlPixels(id, dpi).Contains(x, y);
}

CheckBoxView OptionsLogic::Load(std::optional<ShortcutPaths> paths) {
    paths_ = std::move(paths);
    if (!paths_) return {false, false};
    return {true, svc_.files.FileExists(paths_->LinkFileName)};
}

bool OptionsLogic::OnLoadAtStartupClick(bool ticked) {
    // Without a Startup folder the box is hidden; should a click still come,
    // it has nowhere to act.
    if (!paths_) return false;
    return ApplyStartupChoice(ticked, *paths_, svc_.files);
}

void OptionsLogic::AdjustColor(Color ColorState::*color, const char* valueName) {
    svc_.picker.ShowModal();
    const std::int32_t picked = svc_.state.PickedColor;
    // Only a colour counts as a choice: -1 is none, and nothing else may
    // reach the registry or the screen.
    if (picked < 0 || static_cast<Color>(picked) > kMaxColor) return;
    svc_.state.*color = static_cast<Color>(picked);
    StoreColor(svc_.registry, valueName, svc_.state.*color);
    Recolor();
}

void OptionsLogic::OnAdjustCalendarColor() {
    AdjustColor(&ColorState::CalendarColor, kCalendarColorValue);
}

void OptionsLogic::OnAdjustLabelColor() {
    AdjustColor(&ColorState::LabelColor, kLabelColorValue);
}

void OptionsLogic::OnResetColors() {
    svc_.state.LabelColor = svc_.state.DefaultLabelColor;
    StoreColor(svc_.registry, kLabelColorValue, svc_.state.LabelColor);
    svc_.state.CalendarColor = svc_.state.DefaultCalendarColor;
    StoreColor(svc_.registry, kCalendarColorValue, svc_.state.CalendarColor);
    Recolor();
}

void OptionsLogic::Recolor() {
    svc_.screen.ApplyColors();
    svc_.screen.RefreshCalendar();
}

void OptionsLogic::OnHomePage() {
    svc_.links.Open(kHomePageAddress);
}

void OptionsLogic::OnMailLink() {
    std::wstring target(kMailToPrefix);
    target += kContactAddress;
    svc_.links.Open(target);
}

} // namespace mivra
