#include "report/colour_number.h"

#include "core/number_text.h"

#include <cmath>

namespace vortan::report {

QColor toQColor(ColourNumber number)
{
    return QColor(static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF),
                  static_cast<int>((number >> 16) & 0xFF));
}

ColourNumber fromQColor(const QColor& colour)
{
    return static_cast<ColourNumber>(colour.red()) | (static_cast<ColourNumber>(colour.green()) << 8)
           | (static_cast<ColourNumber>(colour.blue()) << 16);
}

ColourNumber colourFromText(const QString& text)
{
    const double value = numtext::leadingNumber(text);
    if (!std::isfinite(value))
        return Black;
    const auto whole = static_cast<std::int64_t>(std::llround(value));
    return static_cast<ColourNumber>(whole) & 0xFFFFFFu;
}

QString colourToText(ColourNumber number)
{
    return QString::number(number);
}

} // namespace vortan::report
