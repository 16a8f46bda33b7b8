#pragma once
// Storing the runs of the transfer list as one new survey: the survey row,
// one point row per run and one record row per card record of the run, in
// one transaction.

#include "intake/card_file.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace vortan {
class UserInterface;
}
namespace vortan::db {
class Database;
class Workspace;
}

namespace vortan::intake {

class CardIndex;

// What the card rows say about the point of a list line.
struct CardPointEntry {
    std::int32_t point = 0;   // the card's point number, in the table's points
    QString date;        // YYMMDD of the run's first record
    QString startTime;   // HHMM of the run's first record
    QString endTime;     // HHMM of the record at the line's end time on the
                         // start date; empty when there is none
};

// The point lookup for a list line: of the rows of the line's site and
// point, the first record at the line's start date and time and the last
// record at its start date and end time. Nothing when the card has no row
// of that site and point.
std::optional<CardPointEntry> LookUpPoint(const CardTable& rows, const CardIndex& index,
                                          const QString& listLine);

// Builds the statements of the save in the order they run and hands each to
// `run` as soon as it is built. The survey number is read as every survey
// number is (1 to 2147483647; 13 or 6 otherwise) and written as that
// number. A value written bare that is not a number throws 3061, as the
// engine would for an unknown name.
void ForEachCardSaveStatement(const CardTable& rows, const QStringList& transferLines,
                              const QString& surveyNo, const QString& customer,
                              const std::function<void(const QString&)>& run);

// The statements of the save, in the order they run.
QStringList CardSaveStatements(const CardTable& rows, const QStringList& transferLines,
                               const QString& surveyNo, const QString& customer);

// The surveys that already hold a point of the transfer list: same point
// number, date, start and end time as the save would store (compared by
// their numbers, since a stored text may have lost its leading zeros).
struct StoredCopy {
    QString survey;   // its 調査地区No
    QString point;
};
std::vector<StoredCopy> FindStoredCopies(db::Database& db, const CardTable& rows,
                                         const QStringList& transferLines);

// The question asked before a copy is stored.
QString storedCopyQuestion(const std::vector<StoredCopy>& copies, std::int32_t surveyNo);

// Stores the transfer list's runs as survey `surveyNo` (as typed) with the
// customer `customer` and returns the number stored. Returns 0 and stores
// nothing when the transfer list is empty, or when a run is already stored
// in a survey and the user does not answer Yes to storing a copy. On
// success the status text reads "データを保存しました。". A failing
// statement rolls the transaction back, so nothing of the survey remains,
// and throws.
std::int32_t SaveCardRuns(db::Workspace& workspace, UserInterface& ui, const CardTable& rows,
                          const QStringList& transferLines, const QString& surveyNo,
                          const QString& customer);

} // namespace vortan::intake
