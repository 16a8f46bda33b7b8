#include "xlsx/column_widths.h"

#include "core/number_text.h"

#include <QChar>
#include <algorithm>

namespace vortan::xlsx {

namespace {

// East Asian wide (W) and full-width (F) code points, by their blocks.
bool wide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF)
        || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
        || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF)
        || (c >= 0x20000 && c <= 0x3FFFD);
}

} // namespace

double textWidth(QStringView text)
{
    double widest = 0;
    double line = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (c == u'\n') {
            widest = std::max(widest, line);
            line = 0;
            continue;
        }
        line += wide(c) ? 2 : 1;
    }
    return std::max(widest, line);
}

void ColumnWidths::fit(int column, QStringView shown)
{
    double& widest = widest_.at(static_cast<std::size_t>(column));
    widest = std::max(widest, textWidth(shown));
}

void ColumnWidths::fitNumber(int column, double value, const QString& pattern)
{
    NumberRange& range = numbers_.at(static_cast<std::size_t>(column));
    if (!range.any) {
        range = {true, value, value, pattern};
        return;
    }
    range.low = std::min(range.low, value);
    range.high = std::max(range.high, value);
}

double ColumnWidths::width(int column) const
{
    double widest = widest_.at(static_cast<std::size_t>(column));
    const NumberRange& range = numbers_.at(static_cast<std::size_t>(column));
    if (range.any) {
        widest = std::max({widest, textWidth(numtext::formatNumber(range.low, range.pattern)),
                           textWidth(numtext::formatNumber(range.high, range.pattern))});
    }
    return std::clamp(widest + 2, 6.0, 60.0);
}

} // namespace vortan::xlsx
