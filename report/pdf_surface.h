#pragma once
// Draws a report into a PDF file, one PDF page per report page of the range.
// The whole paper is the drawing area, so a position is the report position
// plus the left and top margins. The file is written beside the old one and
// takes its place only when every byte was written, so a full disk leaves an
// older file of the same name as it was.

#include "report/painter_surface.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageSize>
#include <QPdfWriter>
#include <cstdint>
#include <memory>

namespace vortan::report {

class PdfSurface : public PainterSurface {
public:
    // `paper` is the physical paper size in millimetres in the report's
    // orientation (A4 landscape is 297 x 210).
    PdfSurface(QString fileName, QSizeF paperMm, int resolution = 600);
    ~PdfSurface() override;

    bool isPrinting() const override { return true; }
    // False when the file could not be written to its end.
    bool isOpen() const { return opened_; }
    // Why not: the error number of the failed write (70 refused, 61 disk
    // full, 75 otherwise); 0 while nothing failed.
    std::int32_t failureNumber() const { return failureNumber_; }
    const QString& fileName() const { return fileName_; }
    // Pages written to the file so far.
    int devicePages() const { return devicePages_; }

protected:
    void beginDocument() override;
    void startNextPage() override;
    void finishDocument() override;

private:
    QString fileName_;
    QSizeF paperMm_;
    int resolution_;
    QByteArray bytes_;
    QBuffer buffer_;
    std::unique_ptr<QPdfWriter> writer_;
    bool opened_ = false;
    int devicePages_ = 0;
    std::int32_t failureNumber_ = 0;
};

} // namespace vortan::report
