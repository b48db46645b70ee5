// The options window for screen readers: its painted labels beside its real
// buttons and check box, in reading order.
#pragma once

#include "platform/accessible_win32.h"

namespace mivra {

class OptionsWindow;

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

} // namespace mivra
