#include "intake/exchange_read_summary.h"

#include <QStringList>

namespace vortan::intake {

QString surveyNumbersText(const std::vector<std::int32_t>& numbers)
{
    QStringList parts;
    std::size_t i = 0;
    while (i < numbers.size()) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && std::int64_t(numbers[j + 1]) == std::int64_t(numbers[j]) + 1)
            ++j;
        parts.append(j == i ? QString::number(numbers[i])
                            : QString::number(numbers[i]) + QChar(0xFF5E) + QString::number(numbers[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

QString importedSurveysText(const std::vector<std::int32_t>& created,
                            const std::vector<std::int32_t>& replaced)
{
    QStringList lines;
    if (!replaced.empty())
        lines.append(QStringLiteral("調査地区No %1 を置き換えました。").arg(surveyNumbersText(replaced)));
    if (!created.empty())
        lines.append(QStringLiteral("調査地区No %1 を追加しました。").arg(surveyNumbersText(created)));
    if (lines.isEmpty())
        return QStringLiteral("読み込むデータがありませんでした。");
    return lines.join(QLatin1Char('\n'));
}

QString notStoredRowsText(const db::NotStoredRows& rows)
{
    QStringList lines;
    for (const db::NotStoredRows::Entry& entry : rows.entries)
        lines.append(QStringLiteral("%1%2件を保存できませんでした：%3").arg(entry.table).arg(entry.count).arg(entry.reason));
    return lines.join(QLatin1Char('\n'));
}

} // namespace vortan::intake
