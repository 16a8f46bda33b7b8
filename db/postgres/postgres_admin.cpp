#include "db/postgres/postgres_admin.h"

#include "db/jet_column_type.h"
#include "db/postgres/postgres_error_map.h"

#include <libpq-fe.h>

namespace vortan::db {

namespace {

QString databaseOf(const QString& uri)
{
    PQconninfoOption* options = PQconninfoParse(uri.toUtf8().constData(), nullptr);
    QString name;
    for (PQconninfoOption* o = options; o && o->keyword; ++o) {
        if (qstrcmp(o->keyword, "dbname") == 0 && o->val)
            name = QString::fromUtf8(o->val);
    }
    PQconninfoFree(options);
    return name;
}

// Runs one statement on the maintenance database of the URI's server;
// returns the SQLSTATE of a failure, empty on success.
QByteArray onServer(const QString& uri, const QString& sql)
{
    const QByteArray expanded = uri.toUtf8();
    const char* keywords[] = {"dbname", "dbname", nullptr};
    const char* values[] = {expanded.constData(), "postgres", nullptr};
    PGconn* conn = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(conn) != CONNECTION_OK) {
        const Failure failure = postgresConnectionFailure(QString::fromUtf8(PQhost(conn)), QString::fromUtf8(PQport(conn)),
                                                          QStringLiteral("postgres"), QString::fromUtf8(PQerrorMessage(conn)));
        PQfinish(conn);
        throw failure;
    }
    PQsetNoticeProcessor(conn, [](void*, const char*) {}, nullptr);
    PGresult* r = PQexec(conn, sql.toUtf8().constData());
    QByteArray state;
    if (PQresultStatus(r) != PGRES_COMMAND_OK) {
        const char* s = PQresultErrorField(r, PG_DIAG_SQLSTATE);
        state = s ? QByteArray(s) : QByteArray("08006");
    }
    PQclear(r);
    PQfinish(conn);
    return state;
}

void require(const QByteArray& state)
{
    if (!state.isEmpty()) {
        PostgresError error;
        error.sqlState = state;
        throw postgresFailure(error, EngineSituation::Statement);
    }
}

} // namespace

void createServerDatabase(const QString& uri, const QString& templateName)
{
    QString sql = QStringLiteral("CREATE DATABASE ") + quotedName(databaseOf(uri));
    if (!templateName.isEmpty())
        sql += QStringLiteral(" TEMPLATE ") + quotedName(templateName);
    require(onServer(uri, sql));
}

bool renameServerDatabase(const QString& uri, const QString& newName)
{
    const QByteArray state = onServer(uri, QStringLiteral("ALTER DATABASE %1 RENAME TO %2")
                                               .arg(quotedName(databaseOf(uri)), quotedName(newName)));
    if (state == "42P04")
        return false;
    require(state);
    return true;
}

void dropServerDatabase(const QString& uri)
{
    require(onServer(uri, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(quotedName(databaseOf(uri)))));
}

} // namespace vortan::db
