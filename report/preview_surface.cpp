#include "report/preview_surface.h"

#include <algorithm>
#include <cmath>

namespace vortan::report {

PreviewSurface::PreviewSurface(QSizeF paperMm, double scale, double screenDpi)
    : paperMm_(paperMm), scale_(scale > 0 ? scale : 1.0), dpi_(screenDpi > 0 ? screenDpi : 96.0)
{
}

PreviewSurface::~PreviewSurface()
{
    endPainting();
}

QSize PreviewSurface::pictureSize(QSizeF paperMm, double scale, double screenDpi)
{
    // The paper in twips, times the zoom, in screen pixels.
    const double pixelsPerTwip = screenDpi / 1440.0;
    const double w = std::round(paperMm.width() * 1440.0 / 25.4) * scale * pixelsPerTwip;
    const double h = std::round(paperMm.height() * 1440.0 / 25.4) * scale * pixelsPerTwip;
    return QSize(std::max(1, static_cast<int>(std::lround(w))), std::max(1, static_cast<int>(std::lround(h))));
}

void PreviewSurface::beginDocument()
{
    endPainting();
    image_ = QImage(pictureSize(paperMm_, scale_, dpi_), QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi_ / 0.0254));
    image_.setDotsPerMeterX(dotsPerMeter);
    image_.setDotsPerMeterY(dotsPerMeter);
    DeviceMapping mapping;
    mapping.originX = pageFrame().margins.left;
    mapping.originY = pageFrame().margins.top;
    mapping.scale = scale_;
    mapping.pixelsPerMm = dpi_ / 25.4;
    beginPainting(&image_, mapping);
    clearPage();
}

void PreviewSurface::clearPage()
{
    if (!painting())
        return;
    painter()->fillRect(image_.rect(), Qt::white);
    DrawPrimitive outline = makePrimitive(PrimitiveKind::Box);
    outline.x2 = reportWidth();
    outline.y2 = innerPageHeight();
    outline.colour = PreviewOutlineGrey;
    outline.lineWidthMm = 0;
    outline.lineWidthPixels = 1;
    outline.style = DrawStyle::Solid;
    primitivePainter()->draw(outline);
    moveToY(0);
}

void PreviewSurface::pageEnded()
{
    if (shown_)
        shown_(image_);
}

void PreviewSurface::startNextPage()
{
    clearPage();
}

void PreviewSurface::finishDocument()
{
    endPainting();
    if (shown_)
        shown_(image_);
}

} // namespace vortan::report
