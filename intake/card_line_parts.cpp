#include "intake/card_line_parts.h"

#include "core/number_text.h"

namespace vortan::intake {

QString CardLineParts::startDateText() const { return line.mid(12, 8); }
QString CardLineParts::startTimeText() const { return line.mid(21, 8); }
QString CardLineParts::endTimeText() const { return line.right(8); }
QString CardLineParts::startStamp() const { return line.mid(12, 17); }
QString CardLineParts::endStamp() const { return line.right(17); }

CardLineParts TakeLineApart(const QString& listLine)
{
    CardLineParts parts;
    parts.line = listLine.startsWith(QLatin1Char('*')) ? listLine.mid(1) : listLine;
    parts.site = numtext::toInt16(numtext::roundHalfEven(numtext::leadingNumber(parts.line.left(5))));
    parts.point = parts.line.mid(6, 5);
    parts.startDate = QStringLiteral("20") + parts.startDateText().remove(QLatin1Char('/'));
    parts.startTime = parts.startTimeText().remove(QLatin1Char(':')).left(4);
    parts.endTime = parts.endTimeText().remove(QLatin1Char(':')).left(4);
    return parts;
}

} // namespace vortan::intake
