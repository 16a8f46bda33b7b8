#pragma once
// A text drawn so that it stays inside its cell: where it is too wide for
// the room between the cell's edges at its alignment, its font is made
// smaller until it fits, so a long value never runs across a border into the
// next cell.

#include "report/draw_primitive.h"

#include <QString>

namespace vortan::report {

class DrawSurface;

// Draws `text` aligned at (x, y) as textLeft, textCentred or textRight do,
// in the surface's current font at `points`, or smaller when the text would
// otherwise leave the cell from `cellLeft` to `cellRight` (millimetres). The
// font size is `points` again afterwards. Returns the size used.
double drawFittedText(DrawSurface& surface, TextAlign align, double x, double y, const QString& text,
                      double points, double cellLeft, double cellRight);

} // namespace vortan::report
