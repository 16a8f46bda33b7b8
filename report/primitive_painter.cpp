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

const PrimitivePainter::FontEntry& PrimitivePainter::useFont(const QString& name, double points, bool apply)
{
    const double devicePoints = std::max(1.0, points * mapping_.scale);
    QString key = name;
    key += QLatin1Char('/');
    key += QString::number(devicePoints);
    if (currentFont_ && key == fontKey_)
        return *currentFont_;
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        QFont font = reportFont(name, devicePoints);
        found = fonts_.emplace(key, FontEntry{font, QFontMetricsF(font, painter_.device())}).first;
    }
    fontKey_ = key;
    currentFont_ = &found->second;
    if (apply)
        painter_.setFont(currentFont_->font);
    return *currentFont_;
}

double PrimitivePainter::textWidth(const DrawPrimitive& text)
{
    const FontEntry& entry = useFont(text.fontName, text.fontSize, false);
    fontKey_.clear();   // the painter may not hold this font
    return entry.metrics.horizontalAdvance(text.text) / unit_;
}

double PrimitivePainter::textHeight(const DrawPrimitive& text)
{
    const FontEntry& entry = useFont(text.fontName, text.fontSize, false);
    fontKey_.clear();
    return entry.metrics.height() / unit_;
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
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(QRectF(toDevice(p.x1, p.y1), toDevice(p.x2, p.y2)).normalized());
        break;
    case PrimitiveKind::FilledBox: {
        usePen(p.fillColour, linePixels(p), DrawStyle::Solid);
        painter_.setBrush(toQColor(p.fillColour));
        painter_.drawRect(QRectF(toDevice(p.x1, p.y1), toDevice(p.x2, p.y2)).normalized());
        painter_.setBrush(Qt::NoBrush);
        break;
    }
    case PrimitiveKind::Text: {
        const FontEntry& entry = useFont(p.fontName, p.fontSize, true);
        usePen(p.colour, 1, DrawStyle::Solid);
        const QPointF anchor = toDevice(p.x1, p.y1);
        double left = anchor.x();
        if (p.align != TextAlign::Left) {
            const double width = entry.metrics.horizontalAdvance(p.text);
            left -= p.align == TextAlign::Centre ? width / 2 : width;
        }
        painter_.drawText(QPointF(left, anchor.y() + entry.metrics.ascent()), p.text);
        break;
    }
    case PrimitiveKind::Picture:
        painter_.drawImage(QRectF(toDevice(p.x1, p.y1), toDevice(p.x2, p.y2)), p.image);
        break;
    case PrimitiveKind::NewPage:
    case PrimitiveKind::EndDocument:
        break;
    }
}

} // namespace vortan::report
