#pragma once
// The shared operations on the survey tables: the survey number counter,
// deleting a whole survey, and the three row inserts of the exchange-file
// import. The record insert skips a record that repeats the one it was given
// last, so the store object lives as long as the program run.

#include "db/value.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace vortan {
class UserInterface;
}

namespace vortan::db {

class Workspace;

// A survey as the survey insert takes it: its number and twelve texts.
struct SurveyRow {
    std::int32_t 調査地区No = 0;
    QString 現場名;
    QString 住所;
    QString 調査目的;
    QString 調査責任者;
    QString 調査者;
    QString 調査開始時刻;
    QString 調査終了時刻;
    QString 調査日;
    QString 天候;
    QString 標高;
    QString 得意先名;
    QString 記事;
};

// A measuring point as the point insert takes it.
struct PointRow {
    std::int32_t 調査地区No = 0;
    QString 測点No;
    QString 標高差;
    QString 地下水位;
    QString 記事;
    QString 日付;
    QString 開始時刻;
    QString 終了時刻;
    QString 印刷測点No;
};

// A penetration record as the record insert takes it.
struct RecordRow {
    std::int32_t 調査地区No = 0;
    QString 測点No;
    float 貫入深さ = 0;
    std::int16_t 打撃回数 = 0;
    float トルク = 0;
    QString 推定土質;   // the soil code as text; written as its leading number
    QString 記事;
    QString 日付;
    QString 開始時刻;
    QString 終了時刻;
};

// Rows the point and record inserts could not store, counted by table and
// reason (the failure's description), in the order the reasons were met.
struct NotStoredRows {
    struct Entry {
        QString table;    // "測点" or "測点データ"
        QString reason;
        int count = 0;
    };
    std::vector<Entry> entries;

    void add(const QString& table, const QString& reason);
    int total() const;
    bool empty() const { return entries.empty(); }
};

class SurveyStore {
public:
    explicit SurveyStore(Workspace& workspace);

    // The largest survey number, 0 when there is none. A new survey takes this plus one.
    std::int32_t maxSurveyNo();

    // Deletes the survey with its points and records in one transaction.
    // With `ask`, the user confirms first (anything but Yes changes nothing
    // and returns false) and is told when it is done. `number` is read by
    // the leading-number rule. A failing statement rolls back what this call
    // changed and throws; inside a caller's transaction this one nests in it.
    bool deleteSurvey(const QString& number, bool ask, UserInterface& ui);
    bool deleteSurvey(std::int32_t number, bool ask, UserInterface& ui);

    // Inserts a survey row; a failure throws.
    void insertSurvey(const SurveyRow& row);
    // Inserts a point row; a failing statement (a point number too long for
    // its column, say) does not stop an import: it is counted in
    // notStoredRows() and the import goes on.
    void insertPoint(const PointRow& row);
    // Inserts a record row unless it repeats the previous record given here
    // (same survey, point, date, times and depth); a failing statement is
    // counted as above. Either way the row becomes the previous record.
    void insertRecord(const RecordRow& row);

    // The rows the two inserts could not store since the last forget.
    const NotStoredRows& notStoredRows() const { return notStored_; }
    void forgetNotStoredRows() { notStored_ = {}; }

    // The record the next insertRecord compares with.
    const RecordRow& previousRecord() const { return previous_; }
    // Puts back the previous record of before an import whose rows were
    // rolled back, so that a retry compares with a row that is really stored.
    void restorePreviousRecord(const RecordRow& row) { previous_ = row; }

private:
    Workspace& workspace_;
    RecordRow previous_;
    NotStoredRows notStored_;
    std::vector<Value> recordValues_;   // the record insert's values, kept between rows
};

} // namespace vortan::db
