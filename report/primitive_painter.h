#pragma once
// Puts drawing primitives on a QPainter: maps report millimetres to device
// pixels, converts line widths to whole device pixels (at least one), scales
// fonts by the zoom, and aligns texts by their top edge. Every painting
// surface draws through it, and so does the benchmark's bare replay.

#include "report/draw_primitive.h"
#include "report/text_hash.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPen>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

class QPainter;

namespace vortan::report {

struct DeviceMapping {
    double originX = 0;        // mm added to report x (margin minus unprintable border)
    double originY = 0;
    double scale = 1;          // preview zoom; 1 on paper and in files
    double pixelsPerMm = 600.0 / 25.4;
};

class PrimitivePainter {
public:
    PrimitivePainter(QPainter& painter, DeviceMapping mapping);

    void draw(const DrawPrimitive& primitive);

    // Text extent in millimetres of report space (zoom taken out). A text
    // measured here is not measured again when it is drawn aligned.
    double textWidth(const DrawPrimitive& text);
    double textHeight(const DrawPrimitive& text);

    const DeviceMapping& mapping() const { return mapping_; }
    // Device pixels of a line width as the surfaces convert it.
    int linePixels(const DrawPrimitive& primitive) const;

private:
    struct FontEntry {
        QFont font;
        QFontMetricsF metrics;
        std::unordered_map<QString, qreal, TextHash> advances;   // device pixels of the measured texts
    };
    QPointF toDevice(double x, double y) const;
    void usePen(ColourNumber colour, int pixels, DrawStyle style);
    // The fill of the next rectangle: a colour, or none.
    void useBrush(std::optional<QRgb> fill);
    // The font of a report font name and size at the zoom; the painter's
    // font stays as it is.
    FontEntry& fontOf(const QString& name, double points);
    void drawText(const DrawPrimitive& text);

    QPainter& painter_;
    DeviceMapping mapping_;
    double unit_;   // device pixels per report millimetre

    // What the painter currently holds, so that unchanged state is not set again.
    std::optional<QRgb> penColour_;
    int penPixels_ = -1;
    DrawStyle penStyle_ = DrawStyle::Solid;
    std::optional<std::optional<QRgb>> brush_;   // set: the fill colour, or none for outlines
    const FontEntry* painterFont_ = nullptr;

    // The text measured last: the layout mostly draws it next.
    const FontEntry* measuredFont_ = nullptr;
    QString measuredText_;
    qreal measuredAdvance_ = 0;

    // Device point size and name; node-based, so entries stay put.
    std::map<std::pair<double, QString>, FontEntry> fonts_;
    FontEntry* lastFont_ = nullptr;   // the entry fontOf found last
    QString lastName_;
    double lastPoints_ = 0;
};

// The QFont of a report font name and point size, as every device uses it.
QFont reportFont(const QString& name, double points);

} // namespace vortan::report
