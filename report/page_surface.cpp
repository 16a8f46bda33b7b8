#include "report/page_surface.h"

#include <algorithm>

namespace vortan::report {

void PageSurface::setLineWidth(double mm)
{
    lineWidthMm_ = std::max(0.0, mm);
    lineWidthPixels_ = 0;
}

void PageSurface::setLineWidthPixels(int pixels)
{
    lineWidthPixels_ = std::max(1, pixels);
}

DrawPrimitive PageSurface::makePrimitive(PrimitiveKind kind, double x1, double y1, double x2, double y2) const
{
    DrawPrimitive p;
    p.kind = kind;
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    p.page = page_;
    p.colour = colour_;
    p.lineWidthMm = lineWidthMm_;
    p.lineWidthPixels = lineWidthPixels_;
    p.style = style_;
    p.fontName = fontName_;
    p.fontSize = fontSize_;
    return p;
}

void PageSurface::send(DrawPrimitive&& primitive)
{
    if (!frame_.inRange(page_))
        return;
    drewAnything_ = true;
    deliver(primitive);
}

void PageSurface::line(double x1, double y1, double x2, double y2)
{
    // The pen stays where the report put it: the row flow reads it back.
    send(makePrimitive(PrimitiveKind::Line, x1, y1, x2, y2));
}

void PageSurface::box(double x1, double y1, double x2, double y2)
{
    send(makePrimitive(PrimitiveKind::Box, x1, y1, x2, y2));
}

void PageSurface::filledBox(double x1, double y1, double x2, double y2, ColourNumber colour)
{
    DrawPrimitive p = makePrimitive(PrimitiveKind::FilledBox, x1, y1, x2, y2);
    p.fillColour = colour;
    send(std::move(p));
}

void PageSurface::text(double x, double y, const QString& text, TextAlign align)
{
    if (!frame_.inRange(page_) || text.isEmpty())
        return;
    DrawPrimitive p = makePrimitive(PrimitiveKind::Text, x, y);
    p.text = text;
    p.align = align;
    send(std::move(p));
}

void PageSurface::textLeft(double x, double y, const QString& t)
{
    text(x, y, t, TextAlign::Left);
}

void PageSurface::textCentred(double x, double y, const QString& t)
{
    text(x, y, t, TextAlign::Centre);
}

void PageSurface::textRight(double x, double y, const QString& t)
{
    text(x, y, t, TextAlign::Right);
}

double PageSurface::textWidth(const QString& t) const
{
    DrawPrimitive p = makePrimitive(PrimitiveKind::Text);
    p.text = t;
    return measureWidth(p);
}

double PageSurface::textHeight(const QString& t) const
{
    DrawPrimitive p = makePrimitive(PrimitiveKind::Text);
    p.text = t;
    return measureHeight(p);
}

void PageSurface::picture(const QImage& image, double x, double y, double height)
{
    if (!frame_.inRange(page_) || image.isNull() || image.height() <= 0 || height <= 0)
        return;
    DrawPrimitive p =
        makePrimitive(PrimitiveKind::Picture, x, y, x + height * image.width() / image.height(), y + height);
    p.image = image;
    send(std::move(p));
}

void PageSurface::preparePage()
{
    page_ = 1;
    x_ = 0;
    y_ = 0;
    drewAnything_ = false;
    beginDocument();
}

bool PageSurface::newPage()
{
    bool goOn = true;
    if (frame_.inRange(page_) && page_ < frame_.rangeEnd) {
        pageEnded();
        goOn = !ask_ || ask_(page_);
        if (goOn)
            startNextPage();
    }
    y_ = 0;
    ++page_;
    return goOn;
}

void PageSurface::endDocument()
{
    finishDocument();
}

} // namespace vortan::report
