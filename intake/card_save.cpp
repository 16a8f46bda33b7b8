#include "intake/card_save.h"

#include "core/failure.h"
#include "core/number_text.h"
#include "core/user_interface.h"
#include "db/database.h"
#include "db/workspace.h"
#include "intake/card_line_parts.h"

namespace vortan::intake {

namespace {

QString q(const QString& text)
{
    return QLatin1Char('\'') + db::quoted(text) + QLatin1Char('\'');
}

// A value the statements write bare. Only a number may stand there: any
// other text would be read as a name by the engine, so it fails as a
// missing parameter instead of becoming part of the statement.
QString bare(const QString& text)
{
    if (!numtext::isNumeric(text))
        throw Failure(err::DbTooFewParameters,
                      QStringLiteral("パラメータが少なすぎます。数値であるべき値 '%1' が数値ではありません。")
                          .arg(text),
                      QStringLiteral("CardSave"));
    return text.trimmed();
}

QString digitsOf(const QString& text, QChar separator)
{
    return QString(text).remove(separator);
}

QString timeDigits(const QString& time)
{
    return digitsOf(time, QLatin1Char(':')).left(4);
}

} // namespace

std::vector<CardPointEntry> LookUpPoints(const CardTable& rows, std::int16_t site,
                                         const QString& listLine)
{
    const CardLineParts parts = TakeLineApart(listLine);
    const QString startDate = parts.startDateText();
    const QString startTime = parts.startTimeText();
    const QString endTime = parts.endTimeText();

    std::vector<CardPointEntry> entries;
    for (const CardRow& row : rows) {
        if (row.site != site)
            continue;
        bool known = false;
        for (const CardPointEntry& entry : entries)
            known = known || entry.point == row.point;
        if (!known)
            entries.push_back({row.point, {}, {}, {}});
    }
    for (CardPointEntry& entry : entries) {
        bool startFound = false;
        for (const CardRow& row : rows) {
            if (row.site != site || row.point != entry.point || row.date != startDate)
                continue;
            if (!startFound && row.time == startTime) {
                entry.date = digitsOf(row.date, QLatin1Char('/'));
                entry.startTime = timeDigits(row.time);
                startFound = true;
            }
            if (row.time == endTime)
                entry.endTime = timeDigits(row.time);
        }
    }
    return entries;
}

void ForEachCardSaveStatement(const CardTable& rows, const QStringList& transferLines,
                              const QString& surveyNo, const QString& customer,
                              const std::function<void(const QString&)>& run)
{
    if (transferLines.isEmpty())
        return;

    const CardLineParts first = TakeLineApart(transferLines.first());
    const CardLineParts last = TakeLineApart(transferLines.last());
    run(
        QStringLiteral("INSERT INTO 調査地区 (調査地区No,調査日,調査開始時刻,調査終了時刻,得意先名) VALUES (")
        + q(surveyNo) + QLatin1Char(',') + q(first.startDate) + QLatin1Char(',') + q(first.startTime)
        + QLatin1Char(',') + q(last.endTime) + QLatin1Char(',') + q(customer) + QStringLiteral(");"));

    for (const QString& line : transferLines) {
        const CardLineParts parts = TakeLineApart(line);
        const std::vector<CardPointEntry> entries = LookUpPoints(rows, parts.site, line);
        const QString wanted = parts.point.trimmed();
        for (const CardPointEntry& entry : entries) {
            if (entry.point.trimmed() != wanted)
                continue;
            const QString endTime = entry.endTime.isEmpty() ? entry.startTime : entry.endTime;
            run(
                QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻) VALUES (")
                + bare(surveyNo) + QStringLiteral(", ") + q(entry.point) + QStringLiteral(" ,")
                + bare(entry.date) + QLatin1Char(',') + bare(entry.startTime) + QLatin1Char(',')
                + bare(endTime) + QStringLiteral(");"));

            // The run's records: rows of this site and point whose date and
            // time lie between the line's start and end.
            const QString start = parts.startStamp();
            const QString end = parts.endStamp();
            for (const CardRow& row : rows) {
                if (row.site != parts.site || row.point != entry.point)
                    continue;
                const QString stamp = row.date + QLatin1Char(' ') + row.time;
                if (stamp < start || stamp > end)
                    continue;
                const QString time = timeDigits(row.time);
                run(
                    QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,"
                                   "貫入深さ,打撃回数,トルク,推定土質) VALUES (")
                    + bare(surveyNo) + QLatin1Char(',') + bare(row.point) + QLatin1Char(',')
                    + bare(digitsOf(row.date, QLatin1Char('/'))) + QLatin1Char(',') + bare(time)
                    + QLatin1Char(',') + bare(time) + QLatin1Char(',')
                    + numtext::shortestSingle(row.depth) + QLatin1Char(',')
                    + QString::number(row.blows) + QLatin1Char(',')
                    + numtext::shortestSingle(row.torque) + QLatin1Char(',')
                    + QString::number(row.soil) + QStringLiteral(");"));
            }
        }
    }
}

QStringList CardSaveStatements(const CardTable& rows, const QStringList& transferLines,
                               const QString& surveyNo, const QString& customer)
{
    QStringList statements;
    ForEachCardSaveStatement(rows, transferLines, surveyNo, customer,
                             [&statements](const QString& sql) { statements.append(sql); });
    return statements;
}

bool SaveCardRuns(db::Workspace& workspace, UserInterface& ui, const CardTable& rows,
                  const QStringList& transferLines, const QString& surveyNo,
                  const QString& customer)
{
    if (transferLines.isEmpty())
        return false;
    db::Database* db = workspace.survey();
    if (!db)
        throw Failure(err::ObjectNotSet, QStringLiteral("調査データベースが開かれていません。"),
                      QStringLiteral("CardSave"));

    workspace.beginTransaction();
    try {
        // Each statement runs as soon as it is built, so the first one that
        // fails (a survey number in use, say) is the one reported.
        ForEachCardSaveStatement(rows, transferLines, surveyNo, customer,
                                 [db](const QString& sql) { db->execute(sql); });
        workspace.commit();
    } catch (...) {
        try {
            workspace.rollback();
        } catch (const Failure&) {
            // the first failure is the one to report
        }
        throw;
    }
    ui.setStatusText(QStringLiteral("データを保存しました。"));
    return true;
}

} // namespace vortan::intake
