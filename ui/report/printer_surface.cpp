#include "ui/report/printer_surface.h"

#include "core/failure.h"
#include "ui/report/qt_printer_port.h"

#include <QPrinter>

namespace vortan::report {

PrinterSurface::PrinterSurface(QPrinter& printer) : printer_(printer) {}

PrinterSurface::~PrinterSurface()
{
    endPainting();
}

void PrinterSurface::beginDocument()
{
    endPainting();
    const PrinterGeometry g = printerGeometry(printer_);
    DeviceMapping mapping;
    mapping.originX = pageFrame().margins.left - g.offsetX;
    mapping.originY = pageFrame().margins.top - g.offsetY;
    mapping.pixelsPerMm = printer_.logicalDpiX() / 25.4;
    beginPainting(&printer_, mapping);
    if (!painting())
        throw Failure(err::PrinterError, QStringLiteral("The print job could not be opened."),
                      QStringLiteral("F_印刷フォーム"));
}

void PrinterSurface::startNextPage()
{
    printer_.newPage();
}

void PrinterSurface::finishDocument()
{
    endPainting();
}

} // namespace vortan::report
