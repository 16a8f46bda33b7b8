#include "report/fitted_text.h"

#include "report/draw_surface.h"

#include <algorithm>

namespace vortan::report {

namespace {

// The width the text may take at its alignment inside the cell.
double room(TextAlign align, double x, double cellLeft, double cellRight)
{
    switch (align) {
    case TextAlign::Left: return cellRight - x;
    case TextAlign::Right: return x - cellLeft;
    case TextAlign::Centre: break;
    }
    return 2 * std::min(x - cellLeft, cellRight - x);
}

constexpr double SmallestPoints = 1;

} // namespace

double drawFittedText(DrawSurface& s, TextAlign align, double x, double y, const QString& text, double points,
                      double cellLeft, double cellRight)
{
    const double available = std::max(0.0, room(align, x, cellLeft, cellRight));
    double size = points;
    s.setFontSize(size);
    // Text width grows with the font size, though not exactly in proportion
    // (hinting, rounding): shrink by the ratio, measure again, a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        const double width = s.textWidth(text);
        if (width <= available || size <= SmallestPoints)
            break;
        size = std::max(SmallestPoints, size * available / width * 0.98);
        s.setFontSize(size);
    }
    switch (align) {
    case TextAlign::Left: s.textLeft(x, y, text); break;
    case TextAlign::Right: s.textRight(x, y, text); break;
    case TextAlign::Centre: s.textCentred(x, y, text); break;
    }
    s.setFontSize(points);
    return size;
}

} // namespace vortan::report
