#include "db/engine_error_map.h"

#include <sqlite3.h>

namespace vortan::db {

namespace {

enum class Where { Any, Open, Statement, Commit };

struct Mapping {
    int code;                // extended code, or primary code when primaryOnly
    bool primaryOnly;
    Where where;
    const char* messageStart;    // the message must start with this text (nullptr: any)
    std::int32_t number;
};

// Checked in order; the first matching row wins.
constexpr Mapping kMappings[] = {
    // The check constraints that keep the declared column types carry these names.
    {SQLITE_CONSTRAINT_CHECK, false, Where::Any, "CHECK constraint failed: jet_text_size", err::DbFieldTooSmall},
    {SQLITE_CONSTRAINT_CHECK, false, Where::Any, "CHECK constraint failed: jet_number", err::DbTypeMismatch},
    {SQLITE_CONSTRAINT_CHECK, false, Where::Any, nullptr, err::DbTypeMismatch},
    {SQLITE_CONSTRAINT_PRIMARYKEY, false, Where::Any, nullptr, err::DbDuplicateKey},
    {SQLITE_CONSTRAINT_UNIQUE, false, Where::Any, nullptr, err::DbDuplicateKey},
    {SQLITE_CONSTRAINT_ROWID, false, Where::Any, nullptr, err::DbDuplicateKey},
    {SQLITE_CONSTRAINT_NOTNULL, false, Where::Any, nullptr, jeterr::NullNotAllowed},
    {SQLITE_CONSTRAINT, true, Where::Any, nullptr, err::DbTypeMismatch},
    {SQLITE_MISMATCH, true, Where::Any, nullptr, err::DbTypeMismatch},
    {SQLITE_TOOBIG, true, Where::Any, nullptr, err::DbFieldTooSmall},

    {SQLITE_BUSY, true, Where::Open, nullptr, err::DbExclusive},
    {SQLITE_LOCKED, true, Where::Open, nullptr, err::DbExclusive},
    {SQLITE_BUSY, true, Where::Commit, nullptr, err::DbCommitLocked},
    {SQLITE_LOCKED, true, Where::Commit, nullptr, err::DbCommitLocked},
    {SQLITE_BUSY, true, Where::Any, nullptr, err::DbLocked},
    {SQLITE_LOCKED, true, Where::Any, nullptr, err::DbLocked},

    {SQLITE_CANTOPEN, true, Where::Open, nullptr, err::DbFileNotFound},
    {SQLITE_CANTOPEN, true, Where::Any, nullptr, err::DbUnreachable},
    {SQLITE_READONLY, true, Where::Any, nullptr, err::DbReadOnly},
    {SQLITE_PERM, true, Where::Any, nullptr, err::DbReadOnly},
    {SQLITE_NOTADB, true, Where::Any, nullptr, err::DbNotDatabase},
    {SQLITE_CORRUPT, true, Where::Any, nullptr, err::DbNotDatabase},
    {SQLITE_FORMAT, true, Where::Any, nullptr, err::DbNotDatabase},
    // A full disk is the run-time number the reporter has a message for.
    {SQLITE_FULL, true, Where::Any, nullptr, err::DiskFull},
    {SQLITE_IOERR, true, Where::Any, nullptr, err::DbUnreachable},
    {SQLITE_NOMEM, true, Where::Any, nullptr, err::OutOfMemory},

    // Errors of the statement text itself, told apart by SQLite's message.
    {SQLITE_ERROR, true, Where::Any, "no such table", err::DbTableNotFound},
    {SQLITE_ERROR, true, Where::Any, "no such column", err::DbTooFewParameters},
    {SQLITE_ERROR, true, Where::Any, "table ", err::DbTooFewParameters},   // "table t has no column named c"
    {SQLITE_ERROR, true, Where::Any, "ambiguous column name", jeterr::AmbiguousField},
    {SQLITE_ERROR, true, Where::Any, "no such function", jeterr::UndefinedFunction},
    {SQLITE_ERROR, true, Where::Any, "wrong number of arguments", jeterr::UndefinedFunction},
    {SQLITE_ERROR, true, Where::Any, "duplicate column name", jeterr::TableExists},
    {SQLITE_ERROR, true, Where::Any, "near ", err::DbSyntax},
    {SQLITE_ERROR, true, Where::Any, "incomplete input", err::DbSyntax},
    {SQLITE_ERROR, true, Where::Any, "unrecognized token", err::DbSyntax},
    {SQLITE_ERROR, true, Where::Any, "cannot commit", jeterr::NoTransaction},
    {SQLITE_ERROR, true, Where::Any, "cannot rollback", jeterr::NoTransaction},
    {SQLITE_ERROR, true, Where::Any, nullptr, err::DbSyntax},
};

bool matches(const Mapping& m, int code, const QString& message, EngineSituation situation)
{
    const int wanted = m.primaryOnly ? (code & 0xff) : code;
    if (wanted != m.code)
        return false;
    switch (m.where) {
    case Where::Any: break;
    case Where::Open: if (situation != EngineSituation::Open) return false; break;
    case Where::Statement: if (situation != EngineSituation::Statement) return false; break;
    case Where::Commit: if (situation != EngineSituation::Commit) return false; break;
    }
    if (m.messageStart) {
        if (!message.startsWith(QLatin1String(m.messageStart)))
            return false;
        // "table ... already exists" belongs to the duplicate-name row, not to the unknown column.
        if (m.number == err::DbTooFewParameters && message.startsWith(QLatin1String("table "))
            && !message.contains(QLatin1String("has no column named")))
            return false;
    }
    return true;
}

} // namespace

std::int32_t engineErrorNumber(int extendedCode, const QString& message, EngineSituation where)
{
    if ((extendedCode & 0xff) == SQLITE_ERROR && message.startsWith(QLatin1String("table "))
        && message.endsWith(QLatin1String("already exists")))
        return jeterr::TableExists;
    for (const Mapping& m : kMappings) {
        if (matches(m, extendedCode, message, where))
            return m.number;
    }
    return jeterr::ReservedError;
}

Failure engineFailure(int extendedCode, const QString& message, EngineSituation where)
{
    return Failure(engineErrorNumber(extendedCode, message, where), message,
                   QString::fromLatin1(kEngineSource));
}

Failure engineFailure(std::int32_t number, const QString& description)
{
    return Failure(number, description, QString::fromLatin1(kEngineSource));
}

} // namespace vortan::db
