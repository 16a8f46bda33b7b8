#include "report/primitive_painter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vortan::report {

QFont reportFont(const QString& name, double points)
{
    QFont font(name);
    font.setPointSizeF(std::max(1.0, points));
    // Unhinted outlines keep text widths proportional to the size, so that
    // the preview, paper and PDF files break and align texts alike.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

PrimitivePainter::PrimitivePainter(QPainter& painter, DeviceMapping mapping)
    : painter_(painter), mapping_(mapping), unit_(mapping.pixelsPerMm * mapping.scale)
{
}

QPointF PrimitivePainter::toDevice(double x, double y) const
{
    return QPointF((x + mapping_.originX) * unit_, (y + mapping_.originY) * unit_);
}

int PrimitivePainter::linePixels(const DrawPrimitive& p) const
{
    if (p.lineWidthPixels > 0)
        return p.lineWidthPixels;
    return std::max(1, static_cast<int>(std::lround(p.lineWidthMm * unit_)));
}

void PrimitivePainter::usePen(ColourNumber colour, int pixels, DrawStyle style)
{
    const QRgb rgb = toQColor(colour).rgb();
    if (penColour_ && *penColour_ == rgb && penPixels_ == pixels && penStyle_ == style)
        return;
    QPen pen(QColor::fromRgb(rgb));
    pen.setWidth(pixels);
    pen.setStyle(style == DrawStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    penColour_ = rgb;
    penPixels_ = pixels;
    penStyle_ = style;
}

void PrimitivePainter::useBrush(std::optional<QRgb> fill)
{
    if (brush_ && *brush_ == fill)
        return;
    if (fill)
        painter_.setBrush(QColor::fromRgb(*fill));
    else
        painter_.setBrush(Qt::NoBrush);
    brush_ = fill;
}

PrimitivePainter::FontEntry& PrimitivePainter::fontOf(const QString& name, double points)
{
    const double devicePoints = std::max(1.0, points * mapping_.scale);
    // A run of texts mostly keeps its font: compare with the last one first.
    if (lastFont_ && lastPoints_ == devicePoints && lastName_ == name)
        return *lastFont_;
    auto found = fonts_.find(std::make_pair(devicePoints, name));
    if (found == fonts_.end()) {
        QFont font = reportFont(name, devicePoints);
        QFontMetricsF metrics(font, painter_.device());
        found = fonts_.emplace(std::make_pair(devicePoints, name), FontEntry{font, metrics, {}}).first;
    }
    lastFont_ = &found->second;
    lastName_ = name;
    lastPoints_ = devicePoints;
    return *lastFont_;
}

double PrimitivePainter::textWidth(const DrawPrimitive& text)
{
    FontEntry& entry = fontOf(text.fontName, text.fontSize);
    auto known = entry.advances.find(text.text);
    if (known == entry.advances.end())
        known = entry.advances.emplace(text.text, entry.metrics.horizontalAdvance(text.text)).first;
    measuredFont_ = &entry;
    measuredText_ = text.text;
    measuredAdvance_ = known->second;
    return measuredAdvance_ / unit_;
}

double PrimitivePainter::textHeight(const DrawPrimitive& text)
{
    return fontOf(text.fontName, text.fontSize).metrics.height() / unit_;
}

void PrimitivePainter::drawText(const DrawPrimitive& p)
{
    const FontEntry& entry = fontOf(p.fontName, p.fontSize);
    if (painterFont_ != &entry) {
        painter_.setFont(entry.font);
        painterFont_ = &entry;
    }
    usePen(p.colour, 1, DrawStyle::Solid);
    const QPointF anchor = toDevice(p.x1, p.y1);
    double left = anchor.x();
    if (p.align != TextAlign::Left) {
        // A text the layout measured (to fit it into its cell) keeps that measure.
        qreal width = 0;
        if (measuredFont_ == &entry && measuredText_ == p.text) {
            width = measuredAdvance_;
        } else if (const auto known = entry.advances.find(p.text); known != entry.advances.end()) {
            width = known->second;
        } else {
            width = entry.metrics.horizontalAdvance(p.text);
        }
        left -= p.align == TextAlign::Centre ? width / 2 : width;
    }
    painter_.drawText(QPointF(left, anchor.y() + entry.metrics.ascent()), p.text);
}

void PrimitivePainter::draw(const DrawPrimitive& p)
{
    switch (p.kind) {
    case PrimitiveKind::Line:
        usePen(p.colour, linePixels(p), p.style);
        painter_.drawLine(toDevice(p.x1, p.y1), toDevice(p.x2, p.y2));
        break;
    case PrimitiveKind::Box:
        usePen(p.colour, linePixels(p), p.style);
        useBrush(std::nullopt);
        painter_.drawRect(QRectF(toDevice(p.x1, p.y1), toDevice(p.x2, p.y2)).normalized());
        break;
    case PrimitiveKind::FilledBox: {
        usePen(p.fillColour, linePixels(p), DrawStyle::Solid);
        // The brush stays for the next filled box: lines and texts do not use it.
        useBrush(toQColor(p.fillColour).rgb());
        painter_.drawRect(QRectF(toDevice(p.x1, p.y1), toDevice(p.x2, p.y2)).normalized());
        break;
    }
    case PrimitiveKind::Text:
        drawText(p);
        break;
    case PrimitiveKind::Picture:
        painter_.drawImage(QRectF(toDevice(p.x1, p.y1), toDevice(p.x2, p.y2)), p.image);
        break;
    case PrimitiveKind::NewPage:
    case PrimitiveKind::EndDocument:
        break;
    }
}

} // namespace vortan::report
