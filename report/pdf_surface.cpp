#include "report/pdf_surface.h"

#include "core/atomic_file.h"
#include "core/failure.h"
#include "core/file_devices.h"

#include <QPageLayout>

namespace vortan::report {

PdfSurface::PdfSurface(QString fileName, QSizeF paperMm, int resolution)
    : fileName_(std::move(fileName)), paperMm_(paperMm), resolution_(resolution)
{
}

PdfSurface::~PdfSurface()
{
    endPainting();
}

void PdfSurface::beginDocument()
{
    endPainting();
    writer_.reset();
    // The document is made in memory and written in one go at its end: the
    // PDF writer does not say when its device fails part way, and a file
    // written piece by piece would be left half written.
    bytes_.clear();
    buffer_.close();
    buffer_.setBuffer(&bytes_);
    buffer_.open(QIODevice::WriteOnly);
    writer_ = std::make_unique<QPdfWriter>(&buffer_);
    writer_->setResolution(resolution_);
    writer_->setCreator(QStringLiteral("Vortan"));
    const QPageSize size(paperMm_, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    writer_->setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    DeviceMapping mapping;
    mapping.originX = pageFrame().margins.left;
    mapping.originY = pageFrame().margins.top;
    mapping.pixelsPerMm = resolution_ / 25.4;
    beginPainting(writer_.get(), mapping);
    opened_ = painting();
    devicePages_ = opened_ ? 1 : 0;
    failureNumber_ = 0;
}

void PdfSurface::startNextPage()
{
    if (opened_ && writer_->newPage())
        ++devicePages_;
}

void PdfSurface::finishDocument()
{
    endPainting();   // writes the end of the document
    writer_.reset();
    buffer_.close();
    if (opened_) {
        try {
            const std::unique_ptr<QSaveFile> file = filedevices::saveDevice(fileName_);
            writeFileAtomically(*file, bytes_);
        } catch (const Failure& failure) {
            opened_ = false;
            failureNumber_ = failure.number();
        }
    }
    bytes_.clear();
}

} // namespace vortan::report
