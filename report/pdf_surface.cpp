#include "report/pdf_surface.h"

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
    writer_ = std::make_unique<QPdfWriter>(fileName_);
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
}

bool PdfSurface::continueToNextPage()
{
    if (opened_ && writer_->newPage())
        ++devicePages_;
    return true;
}

void PdfSurface::finishDocument()
{
    endPainting();
    writer_.reset();
}

} // namespace vortan::report
