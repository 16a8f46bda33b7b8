#include "db/survey_store.h"

#include "core/failure.h"
#include "core/number_text.h"
#include "core/user_interface.h"
#include "db/database.h"
#include "db/engine_error_map.h"
#include "db/record_set.h"
#include "db/transaction.h"
#include "db/value.h"
#include "db/workspace.h"

namespace vortan::db {

namespace {

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

// The prepared inserts of the three tables; the database hands back the
// same insert for the same table and columns.
int surveyInsert(Database& db)
{
    static const QStringList columns{
        QStringLiteral("調査地区No"), QStringLiteral("現場名"),       QStringLiteral("住所"),
        QStringLiteral("調査目的"),   QStringLiteral("調査責任者"),   QStringLiteral("調査者"),
        QStringLiteral("調査開始時刻"), QStringLiteral("調査終了時刻"), QStringLiteral("調査日"),
        QStringLiteral("天候"),       QStringLiteral("標高"),         QStringLiteral("得意先名"),
        QStringLiteral("記事")};
    return db.prepareInsert(QStringLiteral("調査地区"), columns);
}

int pointInsert(Database& db)
{
    static const QStringList columns{QStringLiteral("調査地区No"), QStringLiteral("測点No"),
                                     QStringLiteral("日付"),       QStringLiteral("開始時刻"),
                                     QStringLiteral("終了時刻"),   QStringLiteral("標高差"),
                                     QStringLiteral("地下水位"),   QStringLiteral("記事"),
                                     QStringLiteral("印刷測点No")};
    return db.prepareInsert(QStringLiteral("測点"), columns);
}

int recordInsert(Database& db)
{
    static const QStringList columns{QStringLiteral("調査地区No"), QStringLiteral("測点No"),
                                     QStringLiteral("日付"),       QStringLiteral("開始時刻"),
                                     QStringLiteral("終了時刻"),   QStringLiteral("貫入深さ"),
                                     QStringLiteral("打撃回数"),   QStringLiteral("トルク"),
                                     QStringLiteral("推定土質"),   QStringLiteral("記事")};
    return db.prepareInsert(QStringLiteral("測点データ"), columns);
}

} // namespace

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

std::int32_t SurveyStore::maxSurveyNo()
{
    RecordSet rows = surveyDatabase(workspace_).openRecordSet(
        QStringLiteral("SELECT Max(調査地区.調査地区No) AS 調査地区Noの最大 FROM 調査地区;"));
    QString text;
    if (!rows.eof())
        text = rows.field(QStringLiteral("調査地区Noの最大")).toText();
    rows.close();
    return numtext::toInt32(numtext::leadingNumber(text));
}

bool SurveyStore::deleteSurvey(std::int32_t number, bool ask, UserInterface& ui)
{
    return deleteSurvey(QString::number(number), ask, ui);
}

bool SurveyStore::deleteSurvey(const QString& number, bool ask, UserInterface& ui)
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

// The rows are inserted with their values bound, not written into
// statement texts: an import stores one record per line. Depth and torque
// go in as singles written with their shortest text, the soil code as its
// leading number, so that the stored values are those of the written form.

void SurveyStore::insertSurvey(const SurveyRow& r)
{
    Database& db = surveyDatabase(workspace_);
    db.insertRow(surveyInsert(db), {Value(qint64(r.調査地区No)), Value(r.現場名), Value(r.住所), Value(r.調査目的),
                                    Value(r.調査責任者), Value(r.調査者), Value(r.調査開始時刻),
                                    Value(r.調査終了時刻), Value(r.調査日), Value(r.天候), Value(r.標高),
                                    Value(r.得意先名), Value(r.記事)});
}

void SurveyStore::insertPoint(const PointRow& r)
{
    Database& db = surveyDatabase(workspace_);
    try {
        db.insertRow(pointInsert(db), {Value(qint64(r.調査地区No)), Value(r.測点No), Value(r.日付),
                                       Value(r.開始時刻), Value(r.終了時刻), Value(r.標高差), Value(r.地下水位),
                                       Value(r.記事), Value(r.印刷測点No)});
    } catch (const Failure& failure) {
        // A point that cannot be stored does not stop an import; the import
        // tells how many and why when it ends.
        if (!isRowFailure(failure))
            throw;
        notStored_.add(QStringLiteral("測点"), failure.description());
    }
}

void SurveyStore::insertRecord(const RecordRow& row)
{
    const bool repeatsPrevious = row.調査地区No == previous_.調査地区No && row.測点No == previous_.測点No
        && row.日付 == previous_.日付 && row.開始時刻 == previous_.開始時刻
        && row.終了時刻 == previous_.終了時刻 && row.貫入深さ == previous_.貫入深さ;
    if (!repeatsPrevious) {
        Database& db = surveyDatabase(workspace_);
        try {
            // One record per line of an import: the values are built in
            // place in a vector kept for the next row.
            std::vector<Value>& values = recordValues_;
            values.clear();
            values.emplace_back(qint64(row.調査地区No));
            values.emplace_back(row.測点No);
            values.emplace_back(row.日付);
            values.emplace_back(row.開始時刻);
            values.emplace_back(row.終了時刻);
            values.emplace_back(numtext::shortestSingleValue(row.貫入深さ));
            values.emplace_back(qint64(row.打撃回数));
            values.emplace_back(numtext::shortestSingleValue(row.トルク));
            values.emplace_back(numtext::leadingNumber(row.推定土質));
            values.emplace_back(row.記事);
            db.insertRow(recordInsert(db), values);
        } catch (const Failure& failure) {
            if (!isRowFailure(failure))
                throw;
            notStored_.add(QStringLiteral("測点データ"), failure.description());
        }
    }
    previous_ = row;
}

} // namespace vortan::db
