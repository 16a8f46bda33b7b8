#include "sheet/date_time_text.h"

#include <QDate>
#include <QList>

namespace vortan::sheet {

namespace {

bool allDigits(QStringView text, int maxLength)
{
    if (text.isEmpty() || text.size() > maxLength)
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool isDateOnly(QStringView text)
{
    bool era = false;
    if (text.startsWith(u'H') || text.startsWith(u'h')) {
        era = true;
        text = text.sliced(1);
    }
    QChar separator;
    for (QChar candidate : {QChar(u'/'), QChar(u'-'), QChar(u'.')}) {
        if (text.contains(candidate)) {
            separator = candidate;
            break;
        }
    }
    if (separator.isNull())
        return false;
    const QList<QStringView> parts = text.split(separator);
    if (parts.size() != 3 || !allDigits(parts[0], 4) || !allDigits(parts[1], 2) || !allDigits(parts[2], 2))
        return false;
    int year = parts[0].toInt();
    if (era)
        year += 1988;
    else if (parts[0].size() <= 2)
        year += year < 30 ? 2000 : 1900;
    return QDate(year, parts[1].toInt(), parts[2].toInt()).isValid();
}

} // namespace

bool IsTimeText(QStringView text)
{
    text = text.trimmed();
    const QList<QStringView> parts = text.split(u':');
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    if (!allDigits(parts[0], 2) || parts[0].toInt() > 23)
        return false;
    for (qsizetype i = 1; i < parts.size(); ++i)
        if (!allDigits(parts[i], 2) || parts[i].toInt() > 59)
            return false;
    return true;
}

bool IsDateText(QStringView text)
{
    text = text.trimmed();
    const qsizetype blank = text.indexOf(u' ');
    if (blank < 0)
        return isDateOnly(text);
    return isDateOnly(text.left(blank)) && IsTimeText(text.sliced(blank + 1));
}

bool IsDateOrTimeText(QStringView text)
{
    return IsDateText(text) || IsTimeText(text);
}

} // namespace vortan::sheet
