// The colour picker (form `frmColorPicker`) without Windows: its design
// sizes, the sixteen cells its load steps lay out from cell 0, the hit test
// and the result it leaves in PickedColor.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/twips.h"

namespace mivra {

inline constexpr std::wstring_view kPickerCaption = L"Color Picker";
inline constexpr std::wstring_view kPickerCancelText = L"Cancel";
inline constexpr int kPickerClientWidthTwips = 3480;
inline constexpr int kPickerClientHeightTwips = 1272;
inline constexpr TwipRect kPickerCell0{0, 0, 495, 375};
inline constexpr TwipRect kPickerCancelRect{1320, 840, 1455, 375};
inline constexpr int kPickerCellCount = 16;

// PickedColor when no colour was chosen.
inline constexpr std::int32_t kNoColorChoice = -1;

// Cells 1 to 15 made from cell 0 as the load steps do: eight to a row, the
// second row directly below the first, every cell touching its neighbours.
std::array<TwipRect, kPickerCellCount> PickerCells(const TwipRect& cell0 = kPickerCell0);

// The window's outer width: twice cell 0's left plus eight and a quarter
// cells, the quarter leaving room for the frame.
int PickerOuterWidthPixels(int dpi);

// The cell under a client pixel, as the cells are painted; -1 for none.
// The cells touch and share no line, so they take the window rule
// (WindowPixels) for painting, the mouse and readers alike.
int PickerCellAtPixel(int x, int y, int dpi);

// What PickedColor holds once the picker has closed: the cell's palette
// colour, or -1 when it closed without one (Cancel, Esc, the caption's close
// button, Alt+F4), so an earlier choice is never taken for a new one.
std::int32_t PickedColorFor(int cell);

} // namespace mivra
