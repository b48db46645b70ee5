#include "settings/options.h"

#include <algorithm>
#include <string>
#include <utility>

namespace mivra {

namespace {

using enum OptionsControl;
using enum ControlKind;

constexpr TextStyle kPlain{kDialogFont};
constexpr int kNoTab = -1;

constexpr OptionsControlSpec Button(OptionsControl id, std::string_view name, TwipRect rect,
                                    std::wstring_view text, int tab,
                                    void (OptionsLogic::*press)() = nullptr) {
    return {id, name, PushButton, rect, text, kPlain, kSysColorButtonText, tab, press};
}

constexpr OptionsControlSpec Tick(OptionsControl id, std::string_view name, TwipRect rect,
                                  std::wstring_view text, int tab) {
    return {id, name, CheckBox, rect, text, kPlain, kSysColorButtonText, tab};
}

constexpr OptionsControlSpec Text(OptionsControl id, std::string_view name, TwipRect rect,
                                  std::wstring_view text, TextStyle style,
                                  Color fore = kSysColorButtonText,
                                  void (OptionsLogic::*press)() = nullptr) {
    return {id, name, Label, rect, text, style, fore, kNoTab, press};
}

constexpr TextStyle Sans(int centiPoints, bool bold = false, bool italic = false,
                         bool underline = false) {
    return {{L"MS Sans Serif", centiPoints}, bold, italic, underline};
}

constexpr std::array<OptionsControlSpec, kOptionsControlCount> kLayout = {
    Button(cmdHomePage, "cmdHomePage", {288, 1464, 2580, 300}, L"Mivra 2000 Home Page...", 11,
           &OptionsLogic::OnHomePage),
    Button(cmd_Clr_Def, "cmd_Clr_Def", {360, 4416, 2472, 312}, L"Reset Colors to Default", 9,
           &OptionsLogic::OnResetColors),
    Button(cmd_Lab_Clr, "cmd_Lab_Clr", {360, 4032, 2472, 312}, L"Adjust Label Color", 8,
           &OptionsLogic::OnAdjustLabelColor),
    Button(cmd_Cal_Clr, "cmd_Cal_Clr", {360, 3648, 2472, 312}, L"Adjust Calendar Color", 7,
           &OptionsLogic::OnAdjustCalendarColor),
    Tick(cbxLoadWW, "cbxLoadWW", {264, 2472, 2820, 192}, L"Run \"Mivra\" on Windows Startup", 5),
    Button(cmdClose, "cmdClose", {1188, 3252, 855, 300}, L"OK", 2),
    Text(lblAuthor, "lblAuthor", {144, 864, 2928, 252}, kAuthorCredit, Sans(960)),
    Text(lblNote, "lblNote", {84, 1920, 3048, 504}, kNoteCredit, Sans(780, false, true)),
    Text(lblTitle, "lblTitle", {120, 150, 2925, 375}, L"Mivra  2000", Sans(1200, true)),
    Text(lblContact, "lblContact", {132, 1104, 2928, 276}, kContactAddress,
         Sans(960, false, false, true), kLinkColor, &OptionsLogic::OnMailLink),
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

namespace {

constexpr bool IsRealControl(const OptionsControlSpec& s) {
    return s.kind == PushButton || s.kind == CheckBox;
}

// The window makes a real control for every focus stop and for nothing else,
// so every focus stop has its control.
static_assert(std::ranges::all_of(kLayout, [](const OptionsControlSpec& s) {
    return (s.tabIndex != kNoTab) == IsRealControl(s);
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
    IsRealControl, [](const OptionsControlSpec& a, const OptionsControlSpec& b) {
        return a.tabIndex < b.tabIndex;
    });

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
    return s.kind == Label && s.press ? Ink::Link : Ink::Panel;
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
