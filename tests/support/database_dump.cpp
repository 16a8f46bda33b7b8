#include "support/database_dump.h"

#include "core/failure.h"
#include "db/database.h"

#include <QByteArray>
#include <sqlite3.h>

namespace vortan::test {

namespace {

QString columnText(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return QStringLiteral("null");
    case SQLITE_INTEGER:
        return QStringLiteral("i:") + QString::number(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT:
        return QStringLiteral("r:") + QString::number(sqlite3_column_double(stmt, column), 'g', 17);
    case SQLITE_BLOB: {
        const QByteArray bytes(static_cast<const char*>(sqlite3_column_blob(stmt, column)),
                               sqlite3_column_bytes(stmt, column));
        return QStringLiteral("b:") + QString::fromLatin1(bytes.toHex());
    }
    default:
        return QStringLiteral("t:")
            + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                sqlite3_column_bytes(stmt, column));
    }
}

// Every row of the query, its fields joined by " | "; false when it fails.
bool queryLines(sqlite3* db, const QByteArray& sql, const QString& prefix, QStringList& lines)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
        return false;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QStringList fields;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            fields.append(columnText(stmt, c));
        lines.append(prefix + fields.join(QStringLiteral(" | ")));
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

QString quotedName(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

} // namespace

QStringList databaseDump(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const QString why = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return {QStringLiteral("cannot open: ") + why};
    }
    QStringList lines;
    QStringList schema;
    const bool ok = queryLines(db, "PRAGMA integrity_check", QStringLiteral("integrity_check: "), lines)
        && queryLines(db, "SELECT type, name, sql FROM sqlite_master ORDER BY type, name",
                      QStringLiteral("schema: "), schema);
    if (!ok) {
        lines.append(QStringLiteral("cannot read: ") + QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_close(db);
        return lines;
    }
    lines += schema;

    QStringList tables;
    // The tables the engine keeps for a full-text index are its own: their
    // bytes differ between two files holding the same rows.
    queryLines(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name IN "
               "(SELECT name FROM pragma_table_list WHERE type = 'table') ORDER BY name", QString(), tables);
    for (QString table : tables) {
        table = table.mid(2);   // the "t:" of the text value
        sqlite3_stmt* stmt = nullptr;
        const QByteArray select = (QStringLiteral("SELECT * FROM ") + quotedName(table)).toUtf8();
        int columns = 0;
        if (sqlite3_prepare_v2(db, select.constData(), int(select.size()), &stmt, nullptr) == SQLITE_OK)
            columns = sqlite3_column_count(stmt);
        sqlite3_finalize(stmt);
        QStringList order;
        for (int c = 1; c <= columns; ++c)
            order.append(QString::number(c));
        const QString sql = QStringLiteral("SELECT * FROM ") + quotedName(table)
            + (order.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + order.join(QLatin1Char(',')));
        if (!queryLines(db, sql.toUtf8(), table + QStringLiteral(": "), lines))
            lines.append(table + QStringLiteral(": cannot read: ") + QString::fromUtf8(sqlite3_errmsg(db)));
    }
    sqlite3_close(db);
    return lines;
}

QStringList databaseRows(const QString& location)
{
    QStringList lines;
    try {
        const auto database = db::Database::open(location);
        for (const QString& table : database->tableNames()) {
            db::RecordSet rows = database->openRecordSet(QStringLiteral("SELECT * FROM [%1]").arg(table));
            QStringList tableLines;
            for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
                QStringList values;
                for (int c = 0; c < rows.fieldCount(); ++c)
                    values.append(rows.field(c).isNull() ? QStringLiteral("<null>") : rows.field(c).toText());
                tableLines.append(table + QStringLiteral(": ") + values.join(QStringLiteral(" | ")));
            }
            tableLines.sort();
            lines += tableLines;
        }
    } catch (const Failure& failure) {
        lines = QStringList{QStringLiteral("unreadable: %1 %2").arg(failure.number()).arg(failure.description())};
    }
    return lines;
}

} // namespace vortan::test
