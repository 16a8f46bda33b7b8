#include "intake/card_save.h"

#include "core/failure.h"
#include "core/number_text.h"
#include "core/survey_number.h"
#include "core/user_interface.h"
#include "db/database.h"
#include "db/row_view.h"
#include "db/transaction.h"
#include "db/workspace.h"
#include "intake/card_index.h"
#include "intake/card_line_parts.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>
#include <utility>

namespace vortan::intake {

namespace {

const QString Source = QStringLiteral("CardSave");

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
                      Source);
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

// The point row a list line stores: the entry of its site and point.
struct LinePoint {
    CardLineParts parts;
    std::optional<CardPointEntry> entry;
    QString endTime() const { return entry->endTime.isEmpty() ? entry->startTime : entry->endTime; }
};

LinePoint linePoint(const CardTable& rows, const CardIndex& index, const QString& line)
{
    return LinePoint{TakeLineApart(line), LookUpPoint(rows, index, line)};
}

} // namespace

std::optional<CardPointEntry> LookUpPoint(const CardTable& rows, const CardIndex& index,
                                          const QString& listLine)
{
    const CardLineParts parts = TakeLineApart(listLine);
    const std::int32_t point = rows.findPoint(parts.point.trimmed());
    if (point < 0 || index.rowsOf(parts.site, point).empty())
        return std::nullopt;
    const QString startDate = parts.startDateText();
    const QString startTime = parts.startTimeText();
    const QString endTime = parts.endTimeText();

    CardPointEntry entry;
    entry.point = point;
    bool startFound = false;
    for (std::uint32_t i : index.rowsOf(parts.site, point)) {
        const CardRow& row = rows[i];
        const QString date = row.dateText();
        if (date != startDate)
            continue;
        const QString time = row.timeText();
        if (!startFound && time == startTime) {
            entry.date = digitsOf(date, QLatin1Char('/'));
            entry.startTime = timeDigits(time);
            startFound = true;
        }
        if (time == endTime)
            entry.endTime = timeDigits(time);
    }
    return entry;
}

void ForEachCardSaveStatement(const CardTable& rows, const QStringList& transferLines,
                              const QString& surveyNo, const QString& customer,
                              const std::function<void(const QString&)>& run)
{
    if (transferLines.isEmpty())
        return;
    const QString number = QString::number(ReadSurveyNumber(surveyNo, Source));
    const CardIndex index(rows);

    const CardLineParts first = TakeLineApart(transferLines.first());
    const CardLineParts last = TakeLineApart(transferLines.last());
    run(
        QStringLiteral("INSERT INTO 調査地区 (調査地区No,調査日,調査開始時刻,調査終了時刻,得意先名) VALUES (")
        + q(number) + QLatin1Char(',') + q(first.startDate) + QLatin1Char(',') + q(first.startTime)
        + QLatin1Char(',') + q(last.endTime) + QLatin1Char(',') + q(customer) + QStringLiteral(");"));

    for (const QString& line : transferLines) {
        const LinePoint point = linePoint(rows, index, line);
        if (!point.entry)
            continue;
        const CardPointEntry& entry = *point.entry;
        run(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻) VALUES (") + number
            + QStringLiteral(", ") + q(rows.pointNumber(entry.point))
            + QStringLiteral(" ,") + bare(entry.date) + QLatin1Char(',') + bare(entry.startTime)
            + QLatin1Char(',') + bare(point.endTime()) + QStringLiteral(");"));

        // The run's records: rows of this site and point whose date and
        // time lie between the line's start and end.
        const QString start = point.parts.startStamp();
        const QString end = point.parts.endStamp();
        for (std::uint32_t i : index.rowsOf(point.parts.site, entry.point)) {
            const CardRow& row = rows[i];
            const QString stamp = row.stamp();
            if (stamp < start || stamp > end)
                continue;
            const QString time = timeDigits(row.timeText());
            run(QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,"
                               "貫入深さ,打撃回数,トルク,推定土質) VALUES (")
                + number + QLatin1Char(',') + bare(rows.point(row)) + QLatin1Char(',')
                + bare(digitsOf(row.dateText(), QLatin1Char('/'))) + QLatin1Char(',') + bare(time)
                + QLatin1Char(',') + bare(time) + QLatin1Char(',') + numtext::shortestSingle(row.depth)
                + QLatin1Char(',') + QString::number(row.blows) + QLatin1Char(',')
                + numtext::shortestSingle(row.torque) + QLatin1Char(',') + QString::number(row.soil)
                + QStringLiteral(");"));
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

namespace {

QString lastCodePoint()
{
    return QString::fromUtf16(u"\U0010FFFF");
}

// A range of stored texts, from `from` on: below `below`, or up to and
// including `upTo`.
struct TextRange {
    QString from;
    QString below;
    QString upTo;
};

QString condition(const QString& column, const TextRange& range)
{
    if (!range.below.isEmpty())
        return QStringLiteral("%1 >= '%2' AND %1 < '%3'").arg(column, db::quoted(range.from), db::quoted(range.below));
    return QStringLiteral("%1 >= '%2' AND %1 <= '%3'").arg(column, db::quoted(range.from), db::quoted(range.upTo));
}

// The stored texts that can read as the whole number whose digits are
// `digits` (no leading zero) by the leading-number rule, which skips blanks
// anywhere and reads signs, decimal points, exponents and "&H" numbers: the
// texts that begin with the digits; those that begin with a part of them and
// go on with something other than a digit; those that begin with something
// other than a digit; and all of these again after one to seven zeros, and
// every text after eight. A text of the column holds at most eight
// characters, so no longer run of digits can round to the number.
std::vector<TextRange> numberTextRanges(const QString& digits)
{
    std::vector<TextRange> ranges;
    // Something other than a digit after `head`: below "0", or from ":" on.
    const auto notADigitAfter = [&ranges](const QString& head) {
        ranges.push_back({head, head + u'0', {}});
        ranges.push_back({head + u':', {}, head + lastCodePoint()});
    };
    QString zeros;
    for (int k = 0; k < 8; ++k, zeros += u'0') {
        ranges.push_back({zeros + digits, {}, zeros + digits + lastCodePoint()});
        for (qsizetype i = 1; i < digits.size(); ++i)
            notADigitAfter(zeros + digits.left(i));
        notADigitAfter(zeros);
    }
    ranges.push_back({zeros, {}, zeros + lastCodePoint()});
    return ranges;
}

// The statement that reads every stored point whose date can read as
// `date` by the leading-number rule, one SELECT per range of the date index
// joined by UNION. Written as one condition, all its terms ranges and none
// an equality, the engine would judge reading the whole table cheaper than
// the index. The ranges do not overlap in the order of code points; where a
// server's order lets them, UNION still gives each point once (and two
// stored rows alike in every column read as one, which the question names
// once anyway). Only the points of that date are read; the caller's
// comparison decides. A date that is not a whole number of one to eight
// digits (a run without a date reads as 0) has no such ranges: every point
// is read.
QString storedDateCandidates(double date)
{
    const QString select =
        QStringLiteral("SELECT 測点.調査地区No, 測点.測点No, 測点.日付, 測点.開始時刻, 測点.終了時刻 FROM 測点");
    if (date < 1 || date > 99999999 || date != std::floor(date))
        return select + u';';
    QStringList parts;
    for (const TextRange& range : numberTextRanges(QString::number(qint64(date))))
        parts.append(select + QStringLiteral(" WHERE ") + condition(QStringLiteral("測点.日付"), range));
    return parts.join(QStringLiteral(" UNION ")) + u';';
}

} // namespace

std::vector<StoredCopy> FindStoredCopies(db::Database& db, const CardTable& rows,
                                         const QStringList& transferLines)
{
    // The point rows the save would store, keyed as numbers: the save writes
    // date and times bare, so "051001" is kept as 51001, while an exchange
    // import keeps the text as it was.
    struct Key {
        QString point;
        double date, start, end;
        bool operator<(const Key& o) const
        {
            return std::tie(point, date, start, end) < std::tie(o.point, o.date, o.start, o.end);
        }
    };
    std::set<Key> wanted;
    const CardIndex index(rows);
    for (const QString& line : transferLines) {
        const LinePoint point = linePoint(rows, index, line);
        if (!point.entry)
            continue;
        wanted.insert(Key{rows.pointNumber(point.entry->point),
                          numtext::leadingNumber(point.entry->date),
                          numtext::leadingNumber(point.entry->startTime),
                          numtext::leadingNumber(point.endTime())});
    }
    std::vector<StoredCopy> copies;
    if (wanted.empty())
        return copies;
    std::set<double> dates;
    for (const Key& key : wanted)
        dates.insert(key.date);
    // In the order of survey number and stored point number (letters of
    // ASCII without their case, as the column compares them), sorted here:
    // asked to sort, the engine would read the whole table in that order
    // rather than find the few candidates.
    struct Found {
        double survey;
        QString point;
        StoredCopy copy;
    };
    std::vector<Found> found;
    // One statement per date, each taking only the points of its own date:
    // a stored date that reads as another number can lie in a date's ranges,
    // and none is found twice.
    for (const double date : dates) {
        db.forEachRow(storedDateCandidates(date), [&](const db::RowView& row) {
            if (row.number(2) != date)
                return;
            const Key key{row.text(1).trimmed().toString(), date, row.number(3), row.number(4)};
            if (!wanted.count(key))
                return;
            QString stored = row.text(1).toString();
            for (QChar& c : stored)
                if (c >= u'A' && c <= u'Z')
                    c = QChar(c.unicode() + (u'a' - u'A'));
            found.push_back({row.number(0), stored, {row.text(0).toString(), key.point}});
        });
    }
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.survey, a.point) < std::tie(b.survey, b.point);
    });
    for (Found& f : found)
        copies.push_back(std::move(f.copy));
    return copies;
}

QString storedCopyQuestion(const std::vector<StoredCopy>& copies, std::int32_t surveyNo)
{
    QStringList surveys;
    QStringList points;
    for (const StoredCopy& copy : copies) {
        if (!surveys.contains(copy.survey))
            surveys.append(copy.survey);
        if (!points.contains(copy.point))
            points.append(copy.point);
    }
    return QStringLiteral("このデータは調査地区No %1 に登録済みです。\n測点No: %2\n"
                          "同じデータを調査地区No %3 としてもう一度登録しますか？")
        .arg(surveys.join(QStringLiteral(", ")), points.join(QStringLiteral(", ")))
        .arg(surveyNo);
}

std::int32_t SaveCardRuns(db::Workspace& workspace, UserInterface& ui, const CardTable& rows,
                          const QStringList& transferLines, const QString& surveyNo,
                          const QString& customer)
{
    if (transferLines.isEmpty())
        return 0;
    const std::int32_t number = ReadSurveyNumber(surveyNo, Source);
    db::Database* db = workspace.survey();
    if (!db)
        throw Failure(err::ObjectNotSet, QStringLiteral("調査データベースが開かれていません。"), Source);

    const std::vector<StoredCopy> copies = FindStoredCopies(*db, rows, transferLines);
    if (!copies.empty()
        && ui.showMessage(storedCopyQuestion(copies, number), MessageIcon::Question, MessageButtons::YesNo,
                          MessageAnswer::No)
            != MessageAnswer::Yes)
        return 0;

    db::Transaction transaction(workspace);
    // Each statement runs as soon as it is built, so the first one that
    // fails (a survey number in use, say) is the one reported.
    ForEachCardSaveStatement(rows, transferLines, surveyNo, customer,
                             [db](const QString& sql) { db->execute(sql); });
    transaction.commit();
    ui.setStatusText(QStringLiteral("データを保存しました。"));
    return number;
}

} // namespace vortan::intake
