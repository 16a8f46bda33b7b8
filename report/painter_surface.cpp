#include "report/painter_surface.h"

#include <QFontMetricsF>
#include <QImage>

namespace vortan::report {

namespace {

// Text extent before painting has begun: measured at a printer's resolution.
QFontMetricsF fallbackMetrics(const DrawPrimitive& text)
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(600 / 0.0254));
        image.setDotsPerMeterY(qRound(600 / 0.0254));
        return image;
    }();
    return QFontMetricsF(reportFont(text.fontName, text.fontSize), &device);
}

} // namespace

void PainterSurface::beginPainting(QPaintDevice* device, DeviceMapping mapping)
{
    primitives_.reset();
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(device)) {
        painter_.reset();
        return;
    }
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    primitives_ = std::make_unique<PrimitivePainter>(*painter_, mapping);
}

void PainterSurface::endPainting()
{
    primitives_.reset();
    if (painter_ && painter_->isActive())
        painter_->end();
    painter_.reset();
}

void PainterSurface::deliver(const DrawPrimitive& primitive)
{
    if (primitives_)
        primitives_->draw(primitive);
}

double PainterSurface::measureWidth(const DrawPrimitive& text) const
{
    if (primitives_)
        return primitives_->textWidth(text);
    return fallbackMetrics(text).horizontalAdvance(text.text) * 25.4 / 600;
}

double PainterSurface::measureHeight(const DrawPrimitive& text) const
{
    if (primitives_)
        return primitives_->textHeight(text);
    return fallbackMetrics(text).height() * 25.4 / 600;
}

} // namespace vortan::report
