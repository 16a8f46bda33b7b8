#include "ui/report/qt_printer_port.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

namespace vortan::report {

PrinterGeometry printerGeometry(const QPrinter& printer)
{
    const double dpi = printer.logicalDpiX();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    return PrinterGeometry::fromPixels(dpi, printable.left() - paper.left(), printable.top() - paper.top(),
                                       paper.width(), paper.height(), printable.width(), printable.height());
}

QtPrinterPort::QtPrinterPort() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    printer_->setPageSize(QPageSize(QPageSize::A4));
    // The printer's own unprintable border is the smallest margin; the
    // report's margins are laid out inside the printable area.
    printer_->setFullPage(false);
}

QtPrinterPort::~QtPrinterPort() = default;

PrinterGeometry QtPrinterPort::geometry() const
{
    return printerGeometry(*printer_);
}

PageOrientation QtPrinterPort::orientation() const
{
    return printer_->pageLayout().orientation() == QPageLayout::Landscape ? PageOrientation::Landscape
                                                                          : PageOrientation::Portrait;
}

void QtPrinterPort::setOrientation(PageOrientation orientation)
{
    printer_->setPageOrientation(orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait);
}

bool QtPrinterPort::canPrint() const
{
    if (printer_->outputFormat() == QPrinter::NativeFormat)
        return !printer_->printerName().isEmpty();
    return !printer_->outputFileName().isEmpty();
}

QString QtPrinterPort::showDialog(QWidget* parent)
{
    QPrintDialog dialog(printer_.get(), parent);
    dialog.exec();
    return orientation() == PageOrientation::Landscape ? QStringLiteral("Landscape. ") : QStringLiteral("Portrait. ");
}

} // namespace vortan::report
