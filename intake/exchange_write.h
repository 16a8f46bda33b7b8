#pragma once
// Writing the survey exchange file: one line per penetration record of the
// surveys chosen, 29 fields each enclosed in double quotes, CR LF, code
// page 932. Only points with records are written, ordered by survey number,
// point number and depth.

#include "core/program_files.h"
#include "intake/exchange_progress.h"

#include <QString>
#include <optional>
#include <vector>

class QSaveFile;

namespace vortan {
class UserInterface;
}
namespace vortan::db {
class Database;
}

namespace vortan::intake {

// The filter of "write only this survey" from the survey number box. The
// text is made half-width and handed back through `numberText` (the box
// shows it so); an empty or non-numeric text, or one outside the survey
// numbers 1..2147483647, shows "調査地区Noの欄に数値を入れて実行して下さい｡" and gives nothing.
std::optional<QString> ExchangeSurveyFilter(QString& numberText, UserInterface& ui);

// The filter of one survey: "WHERE (調査地区.調査地区No = n) ".
QString exchangeSurveyFilter(std::int32_t number);

// The query of the file's rows with `filter` ("" for all surveys).
QString exchangeQuery(const QString& filter);

// Full-width letters, digits and signs as their half-width forms ("５" -> "5").
QString toHalfWidth(const QString& text);

struct ExchangeWriteResult {
    int rowsWritten = 0;
    int unsafeValues = 0;   // values holding "," or '"', which cannot read back unchanged
    int unwritableValues = 0;   // values holding characters written as "?"
};

// Writes the file at `path`. A path that is one of `programFiles` or the
// open database `db` itself (by identity: links and relative paths too), or
// that exists and is no plain file, is refused (52) before anything is read
// or written. With no rows the user is told that nothing was saved and no
// file is written; otherwise the file is written in full next to the old
// one and renamed into place, "データを保存しました。" is shown and, when
// some values hold a comma or a double quote, or characters code page 932
// cannot carry, one notice for each says how many in which columns. A
// failure (query, folder, disk) throws and leaves an older file as it was.
ExchangeWriteResult WriteExchangeFile(db::Database& db, UserInterface& ui, const QString& path,
                                      const QString& filter, const std::vector<ProgramFile>& programFiles,
                                      const ProgressCallback& progress = {});
// The same through a save file the caller made (not yet open).
ExchangeWriteResult WriteExchangeFile(db::Database& db, UserInterface& ui, QSaveFile& file,
                                      const QString& filter,
                                      const ProgressCallback& progress = {});

} // namespace vortan::intake
