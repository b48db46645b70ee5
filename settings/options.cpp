#include "settings/options.h"

#include <algorithm>
#include <string>
#include <utility>

namespace mivra {

namespace {

using enum OptionsControl;
using enum ControlKind;

// clang-format off
constexpr std::array<OptionsControlSpec, kOptionsControlCount> kLayout = {{
    {.id = cmdHomePage, .name = "cmdHomePage", .kind = PushButton, .rect = {288, 1464, 2580, 300},
     .caption = L"Mivra 2000 Home Page...", .tab = 11, .click = &OptionsLogic::OnHomePage},
    {.id = cmd_Clr_Def, .name = "cmd_Clr_Def", .kind = PushButton, .rect = {360, 4416, 2472, 312},
     .caption = L"Reset Colors to Default", .tab = 9, .click = &OptionsLogic::OnResetColors},
    {.id = cmd_Lab_Clr, .name = "cmd_Lab_Clr", .kind = PushButton, .rect = {360, 4032, 2472, 312},
     .caption = L"Adjust Label Color", .tab = 8, .click = &OptionsLogic::OnAdjustLabelColor},
    {.id = cmd_Cal_Clr, .name = "cmd_Cal_Clr", .kind = PushButton, .rect = {360, 3648, 2472, 312},
     .caption = L"Adjust Calendar Color", .tab = 7, .click = &OptionsLogic::OnAdjustCalendarColor},
    {.id = cbxLoadWW, .name = "cbxLoadWW", .kind = CheckBox, .rect = {264, 2472, 2820, 192},
     .caption = L"Run \"Mivra\" on Windows Startup", .tab = 5},
    {.id = cmdClose, .name = "cmdClose", .kind = PushButton, .rect = {1188, 3252, 855, 300},
     .caption = L"OK", .tab = 2},
    {.id = lblAuthor, .name = "lblAuthor", .rect = {144, 864, 2928, 252},
     .caption = kAuthorCredit, .font = {kSansSerif, 960}},
    {.id = lblNote, .name = "lblNote", .rect = {84, 1920, 3048, 504},
     .caption = kNoteCredit, .font = {.face = kSansSerif, .centiPoints = 780, .italic = true}},
    {.id = lblTitle, .name = "lblTitle", .rect = {120, 150, 2925, 375},
     .caption = L"Mivra  2000", .font = {.face = kSansSerif, .centiPoints = 1200, .bold = true}},
    {.id = lblContact, .name = "lblContact", .rect = {132, 1104, 2928, 276},
     .caption = kContactAddress, .font = {.face = kSansSerif, .centiPoints = 960, .underline = true},
     .fore = kLinkColor, .click = &OptionsLogic::OnMailLink},
    {.id = lblAuthorHeading, .name = "lblAuthorHeading", .rect = {60, 564, 3072, 252},
     .caption = L"Author:"},
    // The panel: one solid fill.
    {.id = shpPanel, .name = "shpPanel", .kind = Shape, .rect = {24, 36, 3132, 4896}},
}};
// clang-format on

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

namespace {

constexpr bool IsRealControl(const OptionsControlSpec& s) {
    return s.kind == PushButton || s.kind == CheckBox;
}

// The window makes a real control for every focus stop and for nothing else,
// so every focus stop has its control.
static_assert(std::ranges::all_of(kLayout, [](const OptionsControlSpec& s) {
    return (s.tab != kNoTab) == IsRealControl(s);
}));

// The ids of the controls that `keep` takes, in the order `before` gives.
template <std::size_t N, typename Keep, typename Before>
constexpr std::array<OptionsControl, N> Ordered(Keep keep, Before before) {
    std::array<OptionsControl, N> ids{};
    std::size_t n = 0;
    for (const auto& s : kLayout)
        if (keep(s)) ids[n++] = s.id;
    std::ranges::sort(ids, [&](OptionsControl a, OptionsControl b) {
        return before(kLayout[Index(a)], kLayout[Index(b)]);
    });
    return ids;
}

constexpr auto kFocusOrder = Ordered<std::ranges::count_if(kLayout, IsRealControl)>(
    IsRealControl,
    [](const OptionsControlSpec& a, const OptionsControlSpec& b) { return a.tab < b.tab; });

constexpr auto IsRead = [](const OptionsControlSpec& s) { return s.kind != Shape; };
constexpr auto kReadingOrder = Ordered<std::ranges::count_if(kLayout, IsRead)>(
    IsRead, [](const OptionsControlSpec& a, const OptionsControlSpec& b) {
        return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
    });

} // namespace

std::span<const OptionsControl> OptionsFocusOrder() {
    return kFocusOrder;
}

std::span<const OptionsControl> OptionsReadingOrder() {
    return kReadingOrder;
}

PixelRect ControlPixels(OptionsControl id, int dpi) {
    const OptionsControlSpec& s = Design(id);
    const bool painted = s.kind == ControlKind::Label || s.kind == ControlKind::Shape;
    return painted ? PaintedPixels(s.rect, dpi) : WindowPixels(s.rect, dpi);
}

Ink ControlInk(OptionsControl id) {
    // A painted text that acts on a click is a link.
    const OptionsControlSpec& s = Design(id);
    return s.kind == Label && s.click ? Ink::Link : Ink::Panel;
}

bool ControlHasPixel(OptionsControl id, int x, int y, int dpi) {
    return ControlPixels(id, dpi).Contains(x, y);
}

CheckBoxView OptionsLogic::Load(std::optional<ShortcutPaths> paths) {
    paths_ = std::move(paths);
    if (!paths_) return {false, false};
    return {true, StartsAtLogOn(*paths_, svc_.files, svc_.registry)};
}

bool OptionsLogic::OnLoadAtStartupClick(bool ticked) {
    // Without a Startup folder the box is hidden; should a click still come,
    // it has nowhere to act.
    if (!paths_) return false;
    return ApplyStartupChoice(ticked, *paths_, svc_.files, svc_.registry);
}

void OptionsLogic::AdjustColor(Color Settings::*color, SettingId id) {
    svc_.picker.ShowModal();
    const std::int32_t picked = svc_.state.PickedColor;
    // Only a colour counts as a choice: -1 is none, and nothing else may
    // reach the registry or the screen.
    if (picked < 0 || static_cast<Color>(picked) > kMaxColor) return;
    svc_.state.*color = static_cast<Color>(picked);
    svc_.state.Save(svc_.registry, id);
    Changed();
}

void OptionsLogic::OnAdjustCalendarColor() {
    AdjustColor(&Settings::CalendarColor, SettingId::CalendarColor);
}

void OptionsLogic::OnAdjustLabelColor() {
    AdjustColor(&Settings::LabelColor, SettingId::LabelColor);
}

void OptionsLogic::OnResetColors() {
    SettingsState& s = svc_.state;
    s.LabelColor = s.DefaultLabelColor;
    s.Save(svc_.registry, SettingId::LabelColor);
    s.CalendarColor = s.DefaultCalendarColor;
    s.Save(svc_.registry, SettingId::CalendarColor);
    Changed();
}

void OptionsLogic::Changed() {
    if (listener_) listener_->SettingsChanged();
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
