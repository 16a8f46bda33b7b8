#include "report/report_titles.h"

#include "core/app_settings.h"
#include "core/number_text.h"

#include <cmath>

namespace vortan::report {

QString reportTitle(const AppSettings& settings)
{
    return settings.試験名単位切替 ? QStringLiteral("大型動的コーン貫入試験記録")
                                   : QStringLiteral("ラムサウンディング試験");
}

QString groundHeightText(const QString& basis, double height)
{
    QString name = QStringLiteral("GL");
    if (basis == u"1")
        name = QStringLiteral("KBM");
    else if (basis == u"2")
        name = QStringLiteral("TBM");
    else if (basis == u"3")
        name = QStringLiteral("BM");
    QString prefix;
    if (height > 0)
        prefix = name + QStringLiteral(" + ");
    else if (height < 0)
        prefix = name + QStringLiteral(" - ");
    else
        prefix = name + QStringLiteral(" ±");
    return prefix + numtext::formatNumber(std::abs(height), u"0.00") + QStringLiteral(" m");
}

QString pointDateTimeText(const QString& cell)
{
    QString text = cell;
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

QString measurementTimeText(const QString& startCell, const QString& endCell)
{
    const auto split = [](const QString& cell) {
        const qsizetype at = cell.indexOf(QLatin1Char('_'));
        const QString date = at < 0 ? cell : cell.left(at);
        const QString time = at < 0 ? QString() : cell.mid(at + 1);
        return std::pair<QString, QString>(date.trimmed(), time.section(QLatin1Char(':'), 0, 0).trimmed());
    };
    const auto [startDate, startHour] = split(startCell);
    const auto [endDate, endHour] = split(endCell);
    QString text = startDate;
    if (!endDate.isEmpty() && endDate != startDate)
        text += QStringLiteral("～") + endDate;
    if (!startHour.isEmpty() || !endHour.isEmpty())
        text += QLatin1Char(' ') + startHour + QStringLiteral("時～") + endHour + QStringLiteral("時");
    return text;
}

} // namespace vortan::report
