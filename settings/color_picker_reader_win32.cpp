#include "settings/color_picker_reader_win32.h"

#include "base/color.h"
#include "settings/color_picker_win32.h"

namespace mivra {

int PickerReader::ItemCount() const {
    return window_.hwnd_ ? kPickerCellCount + 1 : 0;
}

AccessibleItem PickerReader::Item(int index) const {
    AccessibleItem item;
    item.role = ROLE_SYSTEM_PUSHBUTTON;
    item.action = L"Press";
    if (index < kPickerCellCount) {
        item.name = kPaletteNames[index];
        item.bounds = window_.CellRect(index);
    } else {
        item.name = kPickerCancelText;
        item.bounds = ToRect(WindowPixels(kPickerCancelRect, window_.dpi_));
        item.window = window_.cancel_;
    }
    return item;
}

int PickerReader::ItemAt(POINT client) const {
    const int cell = PickerCellAtPixel(client.x, client.y, window_.dpi_);
    if (cell >= 0) return cell;
    const RECT cancel = ToRect(WindowPixels(kPickerCancelRect, window_.dpi_));
    return PtInRect(&cancel, client) ? kPickerCellCount : -1;
}

void PickerReader::Press(int index) {
    // A cell picks its colour; Cancel closes without one, as a click does.
    window_.Finish(index < kPickerCellCount ? index : -1);
}

} // namespace mivra
