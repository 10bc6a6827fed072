#include "platform/gui/units.h"

#include <cmath>

namespace qv::gui {

namespace {

// MulDiv(units, base, divisor) rounded half away from zero.
int Scale(int units, int base, int divisor) {
  const long long product = static_cast<long long>(units) * base;
  const long long half = divisor / 2;
  return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

int Floor(double value) { return static_cast<int>(std::floor(value)); }

}  // namespace

int DialogUnitsToPixelsX(int units) { return Scale(units, kDialogBaseX, 4); }
int DialogUnitsToPixelsY(int units) { return Scale(units, kDialogBaseY, 8); }

Rect DialogUnitsToPixels(const Rect& units) {
  return Rect{DialogUnitsToPixelsX(units.x), DialogUnitsToPixelsY(units.y),
              DialogUnitsToPixelsX(units.width), DialogUnitsToPixelsY(units.height)};
}

Rect TextRectToPixels(double top, double left, double bottom, double right) {
  const int y0 = Floor(top * 15.1);
  const int x0 = Floor(left * 7.9);
  return Rect{x0, y0, Floor(right * 7.9) - x0, Floor(bottom * 15.1) - y0};
}

int TextRowToPixels(double row) { return Floor(row * 15 + 2); }
int TextColumnToPixels(double column) { return Floor(column * 6); }
int ButtonRowToPixels(double row) { return Floor(row * 18); }
int ButtonColumnToPixels(double column) { return Floor(column * 6); }

Rect WindowRectToPixels(int top, int left, int bottom, int right) {
  return Rect{left * 8, top * 16, (right - left) * 8, (bottom - top) * 16};
}

}  // namespace qv::gui
