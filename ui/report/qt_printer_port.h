#pragma once
// The current printer of the print window: a QPrinter, its geometry in
// millimetres as the margin check and the reports need it, and the platform
// printer dialog.

#include "report/printer_geometry.h"

#include <QString>
#include <memory>

class QPrinter;
class QWidget;

namespace vortan::report {

class QtPrinterPort : public PrinterPort {
public:
    QtPrinterPort();
    ~QtPrinterPort() override;

    PrinterGeometry geometry() const override;
    PageOrientation orientation() const override;
    void setOrientation(PageOrientation orientation) override;

    QPrinter& printer() { return *printer_; }
    // Whether a print job can be opened: a printer of the system is chosen,
    // or printing into a named file. A system without printers has neither.
    bool canPrint() const;

    // Opens the platform printer dialog with the current settings; on OK the
    // chosen printer, copies, orientation and paper are taken over. Returns
    // "Portrait. " or "Landscape. " after the resulting orientation.
    QString showDialog(QWidget* parent);

private:
    std::unique_ptr<QPrinter> printer_;
};

// Geometry of any QPrinter (device pixels converted to millimetres).
PrinterGeometry printerGeometry(const QPrinter& printer);

} // namespace vortan::report
