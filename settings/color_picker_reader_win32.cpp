// The colour picker as screen readers see it: sixteen buttons named after
// their colours, then Cancel.
#include "base/color.h"
#include "settings/color_picker_win32.h"

namespace mivra {

int ColorPickerWindow::ItemCount() const {
    return kPickerCellCount + 1;
}

AccessibleItem ColorPickerWindow::Item(int index) const {
    AccessibleItem item;
    item.role = ROLE_SYSTEM_PUSHBUTTON;
    item.action = L"Press";
    if (index < kPickerCellCount) {
        item.name = kPaletteNames[index];
        item.bounds = CellRect(index);
    } else {
        item.name = kPickerCancelText;
        item.bounds = ToRect(WindowPixels(kPickerCancelRect, dpi_));
        item.window = cancel_;
    }
    return item;
}

int ColorPickerWindow::ItemAt(POINT client) const {
    const int cell = PickerCellAtPixel(client.x, client.y, dpi_);
    if (cell >= 0) return cell;
    const RECT cancel = ToRect(WindowPixels(kPickerCancelRect, dpi_));
    return PtInRect(&cancel, client) ? kPickerCellCount : -1;
}

void ColorPickerWindow::Press(int index) {
    // A cell picks its colour; Cancel closes without one, as a click does.
    Finish(index < kPickerCellCount ? index : -1);
}

} // namespace mivra
