#pragma once
// Draws a report on a QPrinter. The printer's coordinates start at the
// corner of its printable area, so a report position (x, y) is placed at
// (x + left margin − physical offset X, y + top margin − physical offset Y).

#include "report/painter_surface.h"
#include "report/printer_geometry.h"

class QPrinter;

namespace vortan::report {

class PrinterSurface : public PainterSurface {
public:
    explicit PrinterSurface(QPrinter& printer);
    ~PrinterSurface() override;

    bool isPrinting() const override { return true; }

protected:
    void beginDocument() override;
    void startNextPage() override;
    void finishDocument() override;

private:
    QPrinter& printer_;
};

} // namespace vortan::report
