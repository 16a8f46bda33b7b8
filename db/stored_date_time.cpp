#include "db/stored_date_time.h"

#include "core/number_text.h"

namespace vortan::db {

namespace {

// The last `n` characters of "00" + text: the two-digit field of a date part.
QString lastTwoOfZeroPadded(const QString& text)
{
    return (QStringLiteral("00") + text).right(2);
}

} // namespace

QString DateToStored(const QString& text)
{
    if (text.isEmpty())
        return QString();

    QChar separator;
    if (text.contains(QLatin1Char('/')))
        separator = QLatin1Char('/');
    else if (text.contains(QLatin1Char('-')))
        separator = QLatin1Char('-');
    else if (text.contains(QLatin1Char('.')))
        separator = QLatin1Char('.');
    else
        return QString();

    const qsizetype p1 = text.indexOf(separator);
    const qsizetype p2 = p1 < 0 ? -1 : text.indexOf(separator, p1 + 1);
    if (p1 < 0 || p2 < 0)
        return QString();

    QString year = text.left(p1);
    if (text.startsWith(QLatin1Char('H')))
        year = year.mid(1);   // an era year written as H12
    const double yearValue = numtext::leadingNumber(year);
    if (yearValue < 90)
        year = numtext::shortestDouble(yearValue + 1988);

    const QString month = lastTwoOfZeroPadded(text.mid(p1 + 1, p2 - p1 - 1));
    const QString day = lastTwoOfZeroPadded(text.mid(p2 + 1));
    return year + month + day;
}

// The display forms are built in one piece: the survey search makes three
// of them for each of thousands of surveys.
QString StoredDateToDisplay(QStringView text)
{
    if (text.isEmpty())
        return QString();
    QString shown;
    shown.reserve(10);
    shown.append(text.left(4)).append(u'/').append(text.mid(4, 2)).append(u'/').append(text.mid(6, 2));
    return shown;
}

QString ShortDateToDisplay(QString& text)
{
    if (text.isEmpty())
        return QString();
    // A six-digit YYMMDD that was written as a bare number lost its leading
    // zeros; the prefix brings every length back to a full yyyymmdd.
    switch (text.size()) {
    case 3:
        text.prepend(QStringLiteral("20000"));
        break;
    case 4:
        text.prepend(QStringLiteral("2000"));
        break;
    case 5:
        text.prepend(QStringLiteral("200"));
        break;
    default:
        text.prepend(QStringLiteral("20"));
        break;
    }
    return StoredDateToDisplay(text);
}

QString StoredTimeToDisplay(QStringView text)
{
    if (text.isEmpty())
        return QString();
    QString shown;
    shown.reserve(5);
    if (text.size() == 3)   // H:MM written as a bare number
        shown.append(u'0').append(text.front()).append(u':').append(text.mid(1, 2));
    else
        shown.append(text.left(2)).append(u':').append(text.mid(2, 2));
    return shown;
}

QString TimeToStored(const QString& text)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return QString();
    const QString hours = text.left(colon);
    const QString minutes = text.mid(colon + 1);
    const double h = numtext::leadingNumber(hours);
    const double m = numtext::leadingNumber(minutes);
    if (h >= 0 && h < 24 && m >= 0 && m <= 59)
        return lastTwoOfZeroPadded(hours.trimmed()) + lastTwoOfZeroPadded(minutes.trimmed());
    return QString();
}

} // namespace vortan::db
