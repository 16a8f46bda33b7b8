#pragma once
// Card files for the tests, built record by record as the sounding machine
// writes them.

#include <QString>
#include <QStringList>

namespace vortan::test {

// The machine's header line (the reader skips it whatever it holds).
inline const QString CardHeader =
    QStringLiteral("\"No\",\"ﾃﾞｰﾀ\",\"現場No\",\"測点No\",\"深さ\",\"打撃\",\"ﾄﾙｸ\",\"土質\",\"年\",\"月日\",\"時\",\"分秒\"");

// One record: fields 1 and 2 unused, then site, point, depth, blows,
// torque, soil, year, MMDD, hour, MMSS.
inline QString cardRecord(int site, const QString& point, const QString& depth, int blows,
                          const QString& torque, int soil, int year, int monthDay, int hour,
                          int minuteSecond)
{
    return QStringList{QStringLiteral("1"), QStringLiteral("\"A\""), QString::number(site), point,
                       depth, QString::number(blows), torque, QString::number(soil),
                       QString::number(year), QString::number(monthDay), QString::number(hour),
                       QString::number(minuteSecond)}
        .join(QLatin1Char(','));
}

// A record on 2005-10-01 at 09:MM:SS given as minutes and seconds.
inline QString cardRecordAt(int site, const QString& point, const QString& depth, int minuteSecond,
                            int blows = 5, int hour = 9, int monthDay = 1001)
{
    return cardRecord(site, point, depth, blows, QStringLiteral("10.5"), 2, 2005, monthDay, hour,
                      minuteSecond);
}

inline QString cardFileText(const QStringList& records)
{
    QString text = CardHeader + QStringLiteral("\r\n");
    for (const QString& record : records)
        text += record + QStringLiteral("\r\n");
    return text;
}

} // namespace vortan::test
