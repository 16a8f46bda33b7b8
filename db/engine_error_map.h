#pragma once
// The one table that turns SQLite's result codes into the engine error
// numbers the error reporter knows (3006 locked, 3022 duplicate key, 3024
// missing file, ...). Every database failure is raised through here, with the
// engine's own message as description and "Vortan.db" as source.

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

// A Failure carrying that number, the message and the source "Vortan.db".
Failure engineFailure(int extendedCode, const QString& message, EngineSituation where);

// A Failure with a number chosen by this layer itself.
Failure engineFailure(std::int32_t number, const QString& description);

} // namespace vortan::db
