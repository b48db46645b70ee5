// The options window (form `About`): a borderless popup whose panel and
// labels are painted by the window itself, with real push buttons and a
// real check box. It exists only while shown: ShowModal creates it (Load)
// and runs its load steps, OK unloads it, and the next ShowModal loads it
// anew. Asking whether it is visible, or recolouring it, creates nothing.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>

#include "platform/accessible_win32.h"
#include "platform/handles_win32.h"
#include "platform/label_paint_win32.h"
#include "platform/tooltips_win32.h"
#include "platform/window_win32.h"
#include "settings/color_picker_win32.h"
#include "settings/options.h"
#include "settings/registry.h"
#include "settings/shortcuts_win32.h"

namespace mivra {

class OptionsWindow final : public OptionsHost, private TipSource, private AccessibleContent {
public:
    struct Services {
        SettingsState& state;
        RegistryApi& registry;
        ColorPickerWindow& picker;
        ShortcutFiles& files;
        LinkOpener& links;
        // Looked up at every load: the shortcut's paths, none without a
        // Startup folder.
        std::function<std::optional<ShortcutPaths>()> shortcutPaths;
        // The system's colours and its high-contrast setting.
        const SystemColors& colors;
    };

    // `calendar` is the calendar window, which takes no input while this
    // window is shown.
    OptionsWindow(HINSTANCE instance, const Services& services, HWND calendar = nullptr);
    ~OptionsWindow() override;
    OptionsWindow(const OptionsWindow&) = delete;
    OptionsWindow& operator=(const OptionsWindow&) = delete;

    // Who follows a changed setting (the calendar); set before use.
    void Attach(SettingsListener* listener) { logic_.Attach(listener); }

    // Tab, Enter and Esc for this window and the picker, as a dialog has
    // them. True when the message was handled and must not be dispatched.
    bool PreTranslate(MSG& msg);

    // OptionsHost. Only ShowModal creates the window.
    bool IsVisible() override;
    void ApplyColors(Color calendarColor) override;
    void ShowModal() override;
    void ToFront() override;

    // Creates the window hidden and runs its load steps (centring, the
    // shortcut on disk); nothing when it is loaded already.
    bool Load();

    // What tests look at.
    bool IsLoaded() const { return hwnd_ != nullptr; }
    HWND Handle() const { return hwnd_; }
    HWND Control(OptionsControl id) const { return controls_[Index(id)]; }
    int Dpi() const { return dpi_; }
    Color PanelColor() const { return panelColor_; }
    ColorPickerWindow& Picker() { return picker_; }
    // The tooltip control; null until a control with a tip is first shown.
    HWND Tooltips() const { return tips_.Control(); }
    void PaintContent(HDC dc, const RECT& area);

private:
    friend struct WindowToolkit;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    void Unload();
    void CreateControls();
    void Layout();
    void Centre();
    void SetPanelColor(Color color);
    HBRUSH PanelBrush(Color color);
    void UpdateDefaultButton();
    static LRESULT CALLBACK FocusWatch(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR self);
    bool OnLink(LPARAM lp) const;

    void OnCommand(WORD id, WORD code, HWND control);
    void OnLoadAtStartupClick();
    // What the layout says a click on the control does.
    void RunClick(OptionsControl id);
    // A click as the mouse makes it, for a reader's press: through the same
    // command as a real click, the check box's tick changed first.
    void Click(OptionsControl id);
    void OnButtonDown(LPARAM lp);
    void OnButtonUp(LPARAM lp);
    bool OnSetCursor(HWND over, WORD hit);
    HBRUSH OnControlColor(HDC dc, HWND control);
    void OnActivate(WORD state);
    void OnDpiChanged(int dpi, const RECT* suggested);

    // AccessibleContent: every control but the panel in reading order
    // (options_reader_win32.cpp).
    int ItemCount() const override;
    AccessibleItem Item(int index) const override;
    int ItemAt(POINT client) const override;
    void Press(int index) override;

    // TipSource: a tip for every control whose row has one.
    std::vector<TipTool> TipTools() const override;
    const wchar_t* TipText(UINT_PTR id) const override;
    int TipDpi() const override { return dpi_; }

    HINSTANCE instance_;
    SettingsState& state_;
    const SystemColors& colors_;
    HWND calendar_;
    std::function<std::optional<ShortcutPaths>()> shortcutPaths_;
    ColorPickerWindow& picker_;
    OptionsLogic logic_;

    HWND hwnd_ = nullptr;
    std::array<HWND, kOptionsControlCount> controls_{};
    HWND focus_ = nullptr; // the control to give the focus back to
    int defaultButton_ = IDOK;
    int dpi_ = 96;
    Color panelColor_ = kDesignPanelColor;
    UniqueBrush panelBrush_; // of the colour below, made when first painted
    Color brushColor_ = 0;
    FontCache fonts_;
    bool linkPressed_ = false;
    bool modal_ = false;
    InputBlock calendarBlock_;
    WindowTips tips_{*this};
    WindowAccessibility access_{*this};
};

} // namespace mivra
