// Fuzz entry: one statement text of the program's SQL dialect (UTF-8). It is
// translated on its own; when it translates, SQLite must accept the result
// with exactly one parameter per literal taken out (otherwise a value would
// be bound to the wrong place or not at all), and the statement is then run
// through the database layer on a fresh copy of the shipped survey database.

#include "core/failure.h"
#include "db/database.h"
#include "db/jet_sql_translator.h"
#include "fuzz_support.h"

#include <sqlite3.h>
#include <cstdio>
#include <cstdlib>

using namespace vortan;

namespace {

[[noreturn]] void finding(const char* what, const QString& jetSql, const QString& sqliteSql)
{
    std::fprintf(stderr, "%s\n  statement: %s\n  translated: %s\n", what, qPrintable(jetSql),
                 qPrintable(sqliteSql));
    std::abort();
}

// Prepares the translated data statement on a plain connection to the file.
void checkShape(const QString& path, const QString& jetSql, const db::TranslatedStatement& translated)
{
    sqlite3* connection = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &connection, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(connection);
        finding("cannot open the database copy", jetSql, translated.sql);
    }
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = translated.sql.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(connection, sql.constData(), static_cast<int>(sql.size()), &statement, &tail)
            == SQLITE_OK
        && statement) {
        if (sqlite3_bind_parameter_count(statement) != static_cast<int>(translated.literals.size()))
            finding("parameters and literals differ in number", jetSql, translated.sql);
        if (tail && QByteArray(tail).trimmed().size() > 0)
            finding("translation holds more than one statement", jetSql, translated.sql);
    }
    sqlite3_finalize(statement);
    sqlite3_close(connection);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString jetSql = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    db::JetSqlTranslator translator;
    db::TranslatedStatement translated;
    try {
        translator.translate(jetSql, translated);
    } catch (const Failure&) {
        return 0;   // syntax the dialect does not know
    }

    const QString path = fuzz::freshSurveyDatabase();
    const bool dataStatement =
        translated.kind != db::StatementKind::Schema && translated.kind != db::StatementKind::AlterColumn;
    if (dataStatement)
        checkShape(path, jetSql, translated);

    const auto database = db::Database::open(path);
    try {
        if (translated.kind == db::StatementKind::Select)
            database->openRecordSet(jetSql);
        else
            database->execute(jetSql);
    } catch (const Failure&) {
        // unknown names, type mismatches, broken constraints: the engine refuses
    }
    return 0;
}
