#pragma once
// One drawing operation of a report page as it reaches the device: what it
// is, where in millimetres (report coordinates, inside the margins), and with
// which pen, colour and font. The surfaces hand every primitive of a page in
// the chosen range to their device; the recording surface keeps them.

#include "report/colour_number.h"

#include <QImage>
#include <QString>

namespace vortan::report {

enum class PrimitiveKind { Line, Box, FilledBox, Text, Picture, NewPage, EndDocument };
enum class TextAlign { Left, Centre, Right };
enum class DrawStyle { Solid, Dotted };

struct DrawPrimitive {
    PrimitiveKind kind = PrimitiveKind::Line;
    int page = 1;               // report page number the primitive belongs to
    double x1 = 0, y1 = 0;      // mm; for text the anchor, for a picture the top-left corner
    double x2 = 0, y2 = 0;      // mm; for a picture x2/y2 is the bottom-right corner
    ColourNumber colour = Black;       // fore colour: lines, outlines and text
    ColourNumber fillColour = Black;   // filled boxes
    double lineWidthMm = 0;     // as set; 0 means one device pixel
    int lineWidthPixels = 0;    // when above 0 it replaces lineWidthMm
    DrawStyle style = DrawStyle::Solid;
    QString text;
    TextAlign align = TextAlign::Left;
    QString fontName;
    double fontSize = 0;        // points, as the report set it (before any zoom)
    QImage image;
};

} // namespace vortan::report
