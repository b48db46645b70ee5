// The colour picker window: a small tool window with sixteen painted colour
// cells and a Cancel button, shown modally by the options window. Every use
// loads it afresh and ends by unloading it; the result is left in
// PickedColor.
#pragma once

#include <windows.h>

#include <array>

#include "base/contrast.h"
#include "base/twips.h"
#include "platform/accessible_win32.h"
#include "platform/label_paint_win32.h"
#include "platform/window_win32.h"
#include "settings/color_picker.h"
#include "settings/options.h"

namespace mivra {

class ColorPickerWindow final : public ColorPicker, private AccessibleContent {
public:
    ColorPickerWindow(HINSTANCE instance, SettingsState& state, const SystemColors& colors)
        : instance_(instance), state_(state), colors_(colors) {}
    ~ColorPickerWindow() override;
    ColorPickerWindow(const ColorPickerWindow&) = delete;
    ColorPickerWindow& operator=(const ColorPickerWindow&) = delete;

    // The window the picker is centred over and that takes no input while it
    // is open (the options window).
    void SetBlockedWindow(HWND window) { blocked_ = window; }

    // Loads, shows and waits until a cell, Cancel or a close has unloaded it.
    void ShowModal() override;

    // The pieces of ShowModal: load hidden (cells built), and the dialog
    // keys of the open picker.
    bool Load();
    bool PreTranslate(MSG& msg);

    HWND Handle() const { return hwnd_; }
    HWND CancelButton() const { return cancel_; }
    int Dpi() const { return dpi_; }
    RECT CellRect(int cell) const;
    void PaintContent(HDC dc, const RECT& area);

private:
    friend struct WindowToolkit;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // AccessibleContent: sixteen colour buttons, then Cancel
    // (color_picker_reader_win32.cpp).
    int ItemCount() const override;
    AccessibleItem Item(int index) const override;
    int ItemAt(POINT client) const override;
    void Press(int index) override;

    SIZE OuterSize(int dpi, SIZE frame) const;
    void FitToFrame();
    POINT Placement(SIZE size) const;
    void Layout();
    void OnButtonDown(LPARAM lp);
    void OnButtonUp(LPARAM lp);
    void OnDpiChanged(int dpi, const RECT* suggested);
    // Leaves the result in PickedColor and unloads.
    void Finish(int cell);

    HINSTANCE instance_;
    SettingsState& state_;
    const SystemColors& colors_;
    HWND hwnd_ = nullptr;
    HWND cancel_ = nullptr;
    HWND blocked_ = nullptr;
    InputBlock block_;
    std::array<TwipRect, kPickerCellCount> cells_{};
    int pressed_ = -1;
    int dpi_ = 96;
    FontCache fonts_;
    WindowAccessibility access_{*this};
};

} // namespace mivra
