// Measures into pixels. Dialog templates hold dialog units of their font
// ("MS Sans Serif" 8 pt: a character cell averages 6 x 13 pixels, and a
// dialog unit is a quarter of its width or an eighth of its height).
// Rows and columns of controls placed by position are text units, with one
// factor for dialog rectangles, one for text and one for buttons.
#pragma once

#include "platform/gui/types.h"

namespace qv::gui {

inline constexpr int kDialogBaseX = 6;   // average character width, pixels
inline constexpr int kDialogBaseY = 13;  // character height, pixels

// Dialog units to pixels, rounded to nearest as the window system does.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);
Rect DialogUnitsToPixels(const Rect& units);

// A dialog rectangle given in text rows and columns: row x 15.1 and
// column x 7.9, each rounded down. Gives the outer pixel rectangle.
Rect TextRectToPixels(double top, double left, double bottom, double right);

// Top-left pixel of text (labels, text drawn into a dialog) at a text row and
// column: row x 15 + 2 down, column x 6 across, rounded down.
int TextRowToPixels(double row);
int TextColumnToPixels(double column);

// Top-left pixel of a button at a text row and column: row x 18, column x 6.
int ButtonRowToPixels(double row);
int ButtonColumnToPixels(double column);

// The main window's grid: a row is 16 pixels, a column 8.
Rect WindowRectToPixels(int top, int left, int bottom, int right);

}  // namespace qv::gui
