// The options window and the colour picker for screen readers: their painted
// labels and cells beside their real buttons, in reading order.
#pragma once

#include "platform/accessible_win32.h"

namespace mivra {

class OptionsWindow;
class ColorPickerWindow;

class OptionsReader final : public AccessibleContent {
public:
    explicit OptionsReader(OptionsWindow& window) : window_(window) {}

    int ItemCount() const override;
    AccessibleItem Item(int index) const override;
    int ItemAt(POINT client) const override;
    void Press(int index) override;

private:
    OptionsWindow& window_;
};

class PickerReader final : public AccessibleContent {
public:
    explicit PickerReader(ColorPickerWindow& window) : window_(window) {}

    int ItemCount() const override;
    AccessibleItem Item(int index) const override;
    int ItemAt(POINT client) const override;
    void Press(int index) override;

private:
    ColorPickerWindow& window_;
};

} // namespace mivra
