#pragma once
// What a printer tells about its paper, in millimetres: the unprintable
// border at the left and top (physical offset), the physical paper size and
// the printable size. Each is converted from device pixels as pixels ÷ pixels
// per inch × 25.4; a printer that reports no resolution gives zeros.

#include "report/page_frame.h"

#include <QSizeF>

namespace vortan::report {

enum class PageOrientation { Portrait, Landscape };

struct PrinterGeometry {
    double offsetX = 0;
    double offsetY = 0;
    double paperWidth = 0;
    double paperHeight = 0;
    double printableWidth = 0;
    double printableHeight = 0;

    // From device pixels and the device's pixels per inch (0: no resolution).
    static PrinterGeometry fromPixels(double dpi, double offsetX, double offsetY, double paperWidth,
                                      double paperHeight, double printableWidth, double printableHeight);
    // A sheet without an unprintable border (PDF files, the command line).
    static PrinterGeometry borderless(QSizeF paperMm);

    QSizeF paperSize() const { return QSizeF(paperWidth, paperHeight); }

    // The smallest margin the printer allows on a side, rounded up to whole
    // millimetres: left = offset X, right = paper − printable − offset X, and
    // the same for top and bottom.
    double minimumMargin(MarginSide side) const;
};

// The printer of the print window: its geometry in the current orientation,
// and the orientation the report type asks for.
class PrinterPort {
public:
    virtual ~PrinterPort() = default;
    virtual PrinterGeometry geometry() const = 0;
    virtual PageOrientation orientation() const = 0;
    virtual void setOrientation(PageOrientation orientation) = 0;
};

// A printer of fixed paper and borders (the portrait geometry is given and
// turned for landscape): PDF files, the command line and tests.
class FixedPrinter : public PrinterPort {
public:
    explicit FixedPrinter(PrinterGeometry portrait = PrinterGeometry::borderless(QSizeF(210, 297)));
    PrinterGeometry geometry() const override;
    PageOrientation orientation() const override { return orientation_; }
    void setOrientation(PageOrientation orientation) override { orientation_ = orientation; }

private:
    PrinterGeometry portrait_;
    PageOrientation orientation_ = PageOrientation::Portrait;
};

} // namespace vortan::report
