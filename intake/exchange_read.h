#pragma once
// Reading the survey exchange file into the database, in one transaction.
// Add mode stores every survey of the file under a fresh number above all
// existing ones, in file order; replace mode keeps the file's numbers and
// replaces the surveys that have them.

#include "db/survey_store.h"
#include "intake/exchange_progress.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace vortan {
class UserInterface;
}
namespace vortan::db {
class Workspace;
}

namespace vortan::intake {

enum class ExchangeReadMode { Add, Replace };

// The progress bar's maximum while reading: progress counts bytes scaled to it.
inline constexpr int ExchangeReadProgressMaximum = 32767;

struct ExchangeReadResult {
    int lines = 0;
    int surveys = 0;   // surveys started (a number seen again after another starts anew)
    std::vector<std::int32_t> created;    // survey numbers stored anew, in file order
    std::vector<std::int32_t> replaced;   // survey numbers that replaced a stored survey
    db::NotStoredRows notStored;          // point and record rows left out, and why
};

// Reads the file at `path`. On success the status text reads
// "データを読み込みました。", a notice names the survey numbers created or
// replaced, and a warning counts the point and record rows that could not
// be stored, by reason. Any failure (a missing file 53, a folder or a device
// 52, a file or a line beyond the input limits 9, a line of another kind 13,
// a survey number, depth or torque out of range 6, a line with too few
// fields 9, a database failure) rolls the whole read back, so the database
// is exactly as before, and throws.
ExchangeReadResult ReadExchangeFile(db::Workspace& workspace, db::SurveyStore& store,
                                    UserInterface& ui, const QString& path, ExchangeReadMode mode,
                                    const ProgressCallback& progress = {});

// The same over the file's bytes.
ExchangeReadResult ReadExchangeBytes(db::Workspace& workspace, db::SurveyStore& store,
                                     UserInterface& ui, const QByteArray& bytes,
                                     ExchangeReadMode mode, const ProgressCallback& progress = {});

} // namespace vortan::intake
