#pragma once
// Storing the runs of the transfer list as one new survey: the survey row,
// one point row per run and one record row per card record of the run, in
// one transaction.

#include "intake/card_file.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace vortan {
class UserInterface;
}
namespace vortan::db {
class Workspace;
}

namespace vortan::intake {

// What the card rows say about one point of a site for a list line.
struct CardPointEntry {
    QString point;       // the card's point number
    QString date;        // YYMMDD of the run's first record
    QString startTime;   // HHMM of the run's first record
    QString endTime;     // HHMM of the record at the line's end time on the
                         // start date; empty when there is none
};

// The point lookup: for every point of site `site` (in order of first
// appearance) the first record at the line's start date and time and the
// last record at its start date and end time.
std::vector<CardPointEntry> LookUpPoints(const CardTable& rows, std::int16_t site,
                                         const QString& listLine);

// Builds the statements of the save in the order they run and hands each to
// `run` as soon as it is built. A value written bare that is not a number
// throws 3061, as the engine would for an unknown name.
void ForEachCardSaveStatement(const CardTable& rows, const QStringList& transferLines,
                              const QString& surveyNo, const QString& customer,
                              const std::function<void(const QString&)>& run);

// The statements of the save, in the order they run.
QStringList CardSaveStatements(const CardTable& rows, const QStringList& transferLines,
                               const QString& surveyNo, const QString& customer);

// Stores the transfer list's runs as survey `surveyNo` (as typed) with the
// customer `customer`. Does nothing and returns false when the transfer
// list is empty. On success the status text reads "データを保存しました。".
// A failing statement rolls the transaction back, so nothing of the survey
// remains, and throws.
bool SaveCardRuns(db::Workspace& workspace, UserInterface& ui, const CardTable& rows,
                  const QStringList& transferLines, const QString& surveyNo,
                  const QString& customer);

} // namespace vortan::intake
