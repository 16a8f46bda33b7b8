#include "report/printer_geometry.h"

#include <cmath>

namespace vortan::report {

namespace {

double wholeMmUp(double mm)
{
    // Guard against a value like 5.0000000001 that only conversion made fractional.
    return std::ceil(mm - 1e-9);
}

} // namespace

PrinterGeometry PrinterGeometry::fromPixels(double dpi, double offsetX, double offsetY, double paperWidth,
                                            double paperHeight, double printableWidth, double printableHeight)
{
    PrinterGeometry g;
    if (dpi <= 0)
        return g;
    const auto mm = [dpi](double pixels) { return pixels / dpi * 25.4; };
    g.offsetX = mm(offsetX);
    g.offsetY = mm(offsetY);
    g.paperWidth = mm(paperWidth);
    g.paperHeight = mm(paperHeight);
    g.printableWidth = mm(printableWidth);
    g.printableHeight = mm(printableHeight);
    return g;
}

PrinterGeometry PrinterGeometry::borderless(QSizeF paperMm)
{
    PrinterGeometry g;
    g.paperWidth = paperMm.width();
    g.paperHeight = paperMm.height();
    g.printableWidth = paperMm.width();
    g.printableHeight = paperMm.height();
    return g;
}

double PrinterGeometry::minimumMargin(MarginSide side) const
{
    switch (side) {
    case MarginSide::Left: return wholeMmUp(offsetX);
    case MarginSide::Right: return wholeMmUp(paperWidth - printableWidth - offsetX);
    case MarginSide::Top: return wholeMmUp(offsetY);
    case MarginSide::Bottom: break;
    }
    return wholeMmUp(paperHeight - printableHeight - offsetY);
}

FixedPrinter::FixedPrinter(PrinterGeometry portrait) : portrait_(portrait) {}

PrinterGeometry FixedPrinter::geometry() const
{
    if (orientation_ == PageOrientation::Portrait)
        return portrait_;
    // Turned a quarter to the left: the top border becomes the left one.
    PrinterGeometry g;
    g.paperWidth = portrait_.paperHeight;
    g.paperHeight = portrait_.paperWidth;
    g.printableWidth = portrait_.printableHeight;
    g.printableHeight = portrait_.printableWidth;
    g.offsetX = portrait_.offsetY;
    g.offsetY = portrait_.paperWidth - portrait_.printableWidth - portrait_.offsetX;
    return g;
}

} // namespace vortan::report
