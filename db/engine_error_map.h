#pragma once
// The one table that turns SQLite's result codes into the engine error
// numbers the error reporter knows (3006 locked, 3022 duplicate key, 3024
// missing file, ...). Every database failure is raised through here, with a
// Japanese description of the engine's message and "Vortan.db" as source.

#include "core/failure.h"

#include <QString>
#include <cstdint>

namespace vortan::db {

inline constexpr const char* kEngineSource = "Vortan.db";

// Engine numbers this layer raises beyond those named in core/failure.h.
namespace jeterr {
inline constexpr std::int32_t ReservedError = 3000;
inline constexpr std::int32_t TableExists = 3010;
inline constexpr std::int32_t NoCurrentRecord = 3021;
inline constexpr std::int32_t NoTransaction = 3034;
inline constexpr std::int32_t CannotExecuteSelect = 3065;
inline constexpr std::int32_t AmbiguousField = 3079;
inline constexpr std::int32_t UndefinedFunction = 3085;
inline constexpr std::int32_t DatabaseExists = 3204;
inline constexpr std::int32_t InvalidOperation = 3219;
inline constexpr std::int32_t NullNotAllowed = 3314;
} // namespace jeterr

// Where a SQLite call failed; the same code means different things there
// (a busy file at open is held exclusively by another program, at commit the
// commit could not get its lock, elsewhere the file is locked).
enum class EngineSituation { Open, Statement, Commit };

// The engine error number for a SQLite extended result code and message.
std::int32_t engineErrorNumber(int extendedCode, const QString& message, EngineSituation where);

// What the layer found out beyond SQLite's message: the declared length of
// the text column a value did not fit (0 when unknown).
struct EngineDetails {
    int textLimit = 0;
};

// The Japanese description of a failure of SQLite, naming what its message
// names (a column and its length, a table, the words near a syntax error),
// so that no text of the engine itself reaches the user.
QString engineDescription(int extendedCode, const QString& message, const EngineDetails& details = {});

// A Failure carrying that number, that description and the source "Vortan.db".
Failure engineFailure(int extendedCode, const QString& message, EngineSituation where,
                      const EngineDetails& details = {});

// A syntax error (3134) in the statement `sql` as the program or the user
// wrote it: its position (from 0; negative when it cannot be told) and what
// is wrong, in Japanese.
Failure syntaxFailure(QStringView sql, qsizetype at, const QString& what);

// A Failure with a number chosen by this layer itself.
Failure engineFailure(std::int32_t number, const QString& description);

} // namespace vortan::db
