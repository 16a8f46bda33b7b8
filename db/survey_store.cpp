#include "db/survey_store.h"

#include "core/failure.h"
#include "core/number_text.h"
#include "core/user_interface.h"
#include "db/database.h"
#include "db/engine_error_map.h"
#include "db/record_set.h"
#include "db/transaction.h"
#include "db/workspace.h"

namespace vortan::db {

namespace {

// A text value between single quotes, its own quotes doubled.
QString q(const QString& text)
{
    return QLatin1Char('\'') + quoted(text) + QLatin1Char('\'');
}

// Appends a text value between single quotes, its own quotes doubled.
void appendQuoted(QString& sql, const QString& text)
{
    sql += QLatin1Char('\'');
    sql += quoted(text);
    sql += QLatin1Char('\'');
}

// A failure of the row itself (a text too long for its column, a value of
// the wrong kind, a duplicate): the import leaves that row out. Any other
// failure (a lock, a full disk, a damaged file) is the database's and ends
// the import.
bool isRowFailure(const Failure& failure)
{
    switch (failure.number()) {
    case err::DbFieldTooSmall:
    case err::DbTypeMismatch:
    case err::DbDuplicateKey:
    case err::Overflow:
    case jeterr::NullNotAllowed:
        return true;
    default:
        return false;
    }
}

Database& surveyDatabase(Workspace& workspace)
{
    Database* db = workspace.survey();
    if (!db)
        throw Failure(err::ObjectNotSet, QStringLiteral("調査データベースが開かれていません。"),
                      QStringLiteral("SurveyStore"));
    return *db;
}

} // namespace

QString surveyInsertSql(const SurveyRow& r)
{
    return QStringLiteral("INSERT INTO 調査地区 (調査地区No,現場名,住所, 調査目的, 調査責任者, 調査者, "
                          "調査開始時刻, 調査終了時刻, 調査日, 天候, 標高, 得意先名, 記事) VALUES (")
        + QString::number(r.調査地区No) + QStringLiteral(", ") + q(r.現場名) + QStringLiteral(", ")
        + q(r.住所) + QStringLiteral(", ") + q(r.調査目的) + QStringLiteral(", ") + q(r.調査責任者)
        + QStringLiteral(", ") + q(r.調査者) + QStringLiteral(", ") + q(r.調査開始時刻)
        + QStringLiteral(", ") + q(r.調査終了時刻) + QStringLiteral(", ") + q(r.調査日)
        + QStringLiteral(", ") + q(r.天候) + QStringLiteral(", ") + q(r.標高) + QStringLiteral(" , ")
        + q(r.得意先名) + QStringLiteral(", ") + q(r.記事) + QStringLiteral(");");
}

// The values both a point and a record begin with: survey number, point
// number, date, start and end time.
template <typename Row>
void appendPointKey(QString& sql, const Row& r)
{
    const QLatin1String comma(", ");
    sql += QString::number(r.調査地区No);
    sql += comma;
    appendQuoted(sql, r.測点No);
    sql += QLatin1String(" , ");
    appendQuoted(sql, r.日付);
    sql += comma;
    appendQuoted(sql, r.開始時刻);
    sql += comma;
    appendQuoted(sql, r.終了時刻);
}

QString pointInsertSql(const PointRow& r)
{
    // Built in one buffer: an import builds one of these for every point.
    const QLatin1String comma(", ");
    QString sql;
    sql.reserve(200);
    sql += QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻,標高差,地下水位, 記事 ,"
                          "印刷測点No) VALUES (");
    appendPointKey(sql, r);
    sql += comma;
    appendQuoted(sql, r.標高差);
    sql += comma;
    appendQuoted(sql, r.地下水位);
    sql += comma;
    appendQuoted(sql, r.記事);
    sql += comma;
    appendQuoted(sql, r.印刷測点No);
    sql += QLatin1String(");");
    return sql;
}

QString recordInsertSql(const RecordRow& r)
{
    // Built in one buffer: an import builds one of these for every line.
    const QLatin1String comma(", ");
    QString sql;
    sql.reserve(200);
    sql += QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ, "
                          "打撃回数,トルク, 推定土質, 記事) VALUES (");
    appendPointKey(sql, r);
    sql += comma;
    sql += numtext::shortestSingle(r.貫入深さ);
    sql += comma;
    sql += QString::number(r.打撃回数);
    sql += comma;
    sql += numtext::shortestSingle(r.トルク);
    sql += comma;
    sql += numtext::shortestDouble(numtext::leadingNumber(r.推定土質));
    sql += comma;
    appendQuoted(sql, r.記事);
    sql += QLatin1String(");");
    return sql;
}

void NotStoredRows::add(const QString& table, const QString& reason)
{
    for (Entry& entry : entries) {
        if (entry.table == table && entry.reason == reason) {
            ++entry.count;
            return;
        }
    }
    entries.push_back({table, reason, 1});
}

int NotStoredRows::total() const
{
    int sum = 0;
    for (const Entry& entry : entries)
        sum += entry.count;
    return sum;
}

SurveyStore::SurveyStore(Workspace& workspace) : workspace_(workspace) {}

std::int32_t SurveyStore::MaxSurveyNo()
{
    RecordSet rows = surveyDatabase(workspace_).openRecordSet(
        QStringLiteral("SELECT Max(調査地区.調査地区No) AS 調査地区Noの最大 FROM 調査地区;"));
    QString text;
    if (!rows.eof())
        text = rows.field(QStringLiteral("調査地区Noの最大")).toText();
    rows.close();
    return numtext::toInt32(numtext::leadingNumber(text));
}

bool SurveyStore::DeleteSurvey(std::int32_t number, bool ask, UserInterface& ui)
{
    return DeleteSurvey(QString::number(number), ask, ui);
}

bool SurveyStore::DeleteSurvey(const QString& number, bool ask, UserInterface& ui)
{
    if (ask) {
        const MessageAnswer answer = ui.showMessage(
            QStringLiteral("現在表示されている調査地区のデータを削除しますか?"), MessageIcon::Question,
            MessageButtons::YesNo, MessageAnswer::No);
        if (answer != MessageAnswer::Yes)
            return false;
        ui.setStatusText(QStringLiteral("データの削除中..."));
    }

    Database& db = surveyDatabase(workspace_);
    const QString n = numtext::shortestDouble(numtext::leadingNumber(number));
    // Inside a caller's transaction (the exchange import replaces surveys in
    // one) this transaction nests in it, and the caller's end decides.
    try {
        Transaction transaction(workspace_);
        db.execute(QStringLiteral("DELETE 調査地区.*FROM 調査地区 WHERE 調査地区.調査地区No=") + n
                   + QStringLiteral(";"));
        db.execute(QStringLiteral("DELETE 測点.* FROM 測点 WHERE 測点.調査地区No=") + n
                   + QStringLiteral(";"));
        db.execute(QStringLiteral("DELETE 測点データ.* FROM 測点データ WHERE 測点データ.調査地区No=") + n
                   + QStringLiteral(";"));
        transaction.commit();
    } catch (...) {
        ui.setStatusText(QString());
        throw;
    }

    if (ask)
        ui.showMessage(QStringLiteral("データを削除しました。"), MessageIcon::Information);
    ui.setStatusText(QString());
    return true;
}

void SurveyStore::InsertSurveyRow(const SurveyRow& row)
{
    surveyDatabase(workspace_).execute(surveyInsertSql(row));
}

void SurveyStore::InsertPointRow(const PointRow& row)
{
    Database& db = surveyDatabase(workspace_);
    try {
        db.execute(pointInsertSql(row));
    } catch (const Failure& failure) {
        // A point that cannot be stored does not stop an import; the import
        // tells how many and why when it ends.
        if (!isRowFailure(failure))
            throw;
        notStored_.add(QStringLiteral("測点"), failure.description());
    }
}

void SurveyStore::InsertRecordRow(const RecordRow& row)
{
    const bool repeatsPrevious = row.調査地区No == previous_.調査地区No && row.測点No == previous_.測点No
        && row.日付 == previous_.日付 && row.開始時刻 == previous_.開始時刻
        && row.終了時刻 == previous_.終了時刻 && row.貫入深さ == previous_.貫入深さ;
    if (!repeatsPrevious) {
        Database& db = surveyDatabase(workspace_);
        try {
            db.execute(recordInsertSql(row));
        } catch (const Failure& failure) {
            if (!isRowFailure(failure))
                throw;
            notStored_.add(QStringLiteral("測点データ"), failure.description());
        }
    }
    previous_ = row;
}

} // namespace vortan::db
