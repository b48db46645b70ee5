// The options window (form `About`) without Windows: its texts and
// addresses, its controls as designed, and what its buttons and its
// "run at log-on" check box decide. The Win32 window paints this layout and
// turns clicks into the calls below.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "base/color.h"
#include "base/contrast.h"
#include "base/font.h"
#include "base/twips.h"
#include "settings/settings.h"
#include "settings/shortcuts.h"

namespace mivra {

// The product's links and credits, kept together so they change in one place.
inline constexpr std::wstring_view kHomePageAddress = L"https://www.example.com/mivra/";
inline constexpr std::wstring_view kContactAddress = L"mivra@example.com";
inline constexpr std::wstring_view kMailToPrefix = L"mailto:";
inline constexpr std::wstring_view kAuthorCredit = L"The Mivra Team";
inline constexpr std::wstring_view kNoteCredit =
    L"Free to use and to pass on.\r\nThe date is always one click away.";

inline constexpr std::wstring_view kOptionsCaption = L"About Mivra";
inline constexpr int kOptionsWidthTwips = 3204;
inline constexpr int kOptionsHeightTwips = 4956;

// Colours the designer left at the system's defaults.
inline constexpr Color kLinkColor = 0x00800000; // dark blue
// The panel and the check box before the first ApplyColors.
inline constexpr Color kDesignPanelColor = 0x00FFFFFF;

// The window's controls, front to back.
enum class OptionsControl : std::uint8_t {
    cmdHomePage,
    cmd_Clr_Def,
    cmd_Lab_Clr,
    cmd_Cal_Clr,
    cbxLoadWW,
    cmdClose,
    lblAuthor,
    lblNote,
    lblTitle,
    lblContact,
    lblAuthorHeading,
    shpPanel,
};
inline constexpr int kOptionsControlCount = static_cast<int>(OptionsControl::shpPanel) + 1;

enum class ControlKind : std::uint8_t { PushButton, CheckBox, Label, Shape };

class OptionsLogic;

inline constexpr int kNoTab = -1;

// One control, described completely; the fields share their names with the
// calendar's label table (app/calendar_layout.h) where they mean the same.
struct OptionsControlSpec {
    OptionsControl id;
    std::string_view name;
    ControlKind kind = ControlKind::Label;
    TwipRect rect;
    std::wstring_view caption;
    FontSpec font = kDialogFont;
    Color fore = SystemColor(SysColor::ButtonText);
    std::wstring_view tooltip;
    int tab = kNoTab; // labels and the shape never take the focus
    // What a click does, where the logic decides it alone (OK and the check
    // box are the window's own business).
    void (OptionsLogic::*click)() = nullptr;
};

// All controls, indexed by OptionsControl.
const std::array<OptionsControlSpec, kOptionsControlCount>& OptionsLayout();
const OptionsControlSpec& Design(OptionsControl id);
constexpr int Index(OptionsControl id) {
    return static_cast<int>(id);
}

// The real controls, which the window makes from the layout and which take
// the focus, in Tab order: OK first.
std::span<const OptionsControl> OptionsFocusOrder();
// Every control but the panel, top to bottom, then left to right, as a
// reader goes through them.
std::span<const OptionsControl> OptionsReadingOrder();

// Where a control stands in the client area: a real button or check box by
// the window rule, a painted label or shape by the painted rule. It is
// placed or painted there, takes the mouse there and is reported there.
PixelRect ControlPixels(OptionsControl id, int dpi);
// What a painted control is, for the colours it takes in high contrast.
Ink ControlInk(OptionsControl id);
bool ControlHasPixel(OptionsControl id, int x, int y, int dpi);

// What the options window asks of the rest of the program.

// The colour picker: shown modally; leaves a colour or -1 in PickedColor.
class ColorPicker {
public:
    virtual ~ColorPicker() = default;
    virtual void ShowModal() = 0;
};

// The options window as the calendar sees it. Asking whether it is visible
// or recolouring it never creates it; only showing it does.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;
    virtual bool IsVisible() = 0;
    virtual void ApplyColors(Color calendarColor) = 0;
    virtual void ShowModal() = 0;
    // The open window, or the picker it opened, comes to the front: it steps
    // back behind other programs, and has no taskbar button to be found by.
    virtual void ToFront() = 0;
};

struct CheckBoxView {
    bool visible = false;
    bool ticked = false;
};

// The decisions of the options window's buttons and check box.
class OptionsLogic {
public:
    struct Services {
        SettingsState& state;
        RegistryApi& registry;
        ColorPicker& picker;
        ShortcutFiles& files;
        LinkOpener& links;
    };

    explicit OptionsLogic(const Services& services) : svc_(services) {}
    // Who follows a changed setting (the calendar); set before use.
    void Attach(SettingsListener* listener) { listener_ = listener; }

    // Load steps after the centring: the shortcut paths (nothing when there
    // is no Startup folder) and what the check box then shows: ticked when
    // the shortcut is there and the shell has not switched it off.
    CheckBoxView Load(std::optional<ShortcutPaths> paths);
    // A click left the box ticked or clear; returns whether Windows will
    // really start the program afterwards, which is what the box must show.
    bool OnLoadAtStartupClick(bool ticked);

    void OnAdjustCalendarColor();
    void OnAdjustLabelColor();
    void OnResetColors();
    void OnHomePage();
    void OnMailLink();

    const std::optional<ShortcutPaths>& Paths() const { return paths_; }

private:
    void AdjustColor(Color Settings::*color, SettingId id);
    void Changed();

    Services svc_;
    SettingsListener* listener_ = nullptr;
    std::optional<ShortcutPaths> paths_;
};

} // namespace mivra
