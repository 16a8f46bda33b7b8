#include "support/page_listing.h"

#include "support/recording_surface.h"

namespace vortan::test {

namespace {

QString mm(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

QString pageListing(const report::RecordingSurface& surface, int page)
{
    using report::PrimitiveKind;
    static const char* const kinds[] = {"line", "box", "fill", "text", "picture", "page", "end"};
    static const char* const aligns[] = {"left", "centre", "right"};
    QString out;
    for (const report::DrawPrimitive& p : surface.onPage(page)) {
        out += QLatin1String(kinds[static_cast<int>(p.kind)]) + u' ' + mm(p.x1) + u' ' + mm(p.y1);
        if (p.kind == PrimitiveKind::Text) {
            out += u' ' + QLatin1String(aligns[static_cast<int>(p.align)]) + u' ' + p.fontName + u' '
                + QString::number(p.fontSize) + QStringLiteral(" \"") + p.text + u'"';
        } else {
            out += u' ' + mm(p.x2) + u' ' + mm(p.y2) + QStringLiteral(" w") + QString::number(p.lineWidthMm)
                + (p.style == report::DrawStyle::Dotted ? QStringLiteral(" dotted") : QString())
                + QStringLiteral(" c") + QString::number(p.kind == PrimitiveKind::FilledBox ? p.fillColour : p.colour);
        }
        out += u'\n';
    }
    return out;
}

} // namespace vortan::test
