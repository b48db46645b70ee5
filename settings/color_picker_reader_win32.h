// The colour picker for screen readers: sixteen buttons named after their
// colours, then Cancel.
#pragma once

#include "platform/accessible_win32.h"

namespace mivra {

class ColorPickerWindow;

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
