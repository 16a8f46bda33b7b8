#include "db/column_rebuild.h"

#include "db/engine_error_map.h"
#include "db/sqlite_calls.h"

#include <QStringList>
#include <map>

namespace vortan::db {

void alterColumnType(sqlite3* db, const QString& table, const QString& column, const JetColumnType& type,
                     const QString& newDefault)
{
    const auto master = queryRows(db,
                                  "SELECT name, sql FROM sqlite_master WHERE type = 'table' "
                                  "AND name = ?1 COLLATE NOCASE",
                                  table);
    if (master.empty())
        throw engineFailure(err::DbTableNotFound, QStringLiteral("テーブル「%1」がありません。").arg(table));
    const QString name = master.front().value(0);
    const bool autoIncrement = master.front().value(1).contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);
    const QString q = quotedName(name);

    // cid, name, type, notnull, dflt_value, pk
    const auto info = queryRows(db, "SELECT * FROM pragma_table_info(?1)", name);
    bool found = false;
    int keyColumns = 0;
    for (const QStringList& col : info) {
        found = found || col.value(1).compare(column, Qt::CaseInsensitive) == 0;
        keyColumns += col.value(5).toInt() > 0 ? 1 : 0;
    }
    if (!found)
        throw engineFailure(err::DbItemNotFound,
                            QStringLiteral("列「%1.%2」がありません。").arg(table, column));

    QStringList definitions;
    QStringList names;
    QStringList yesNoColumns;
    std::map<int, QString> keyOrder;
    for (const QStringList& col : info) {
        const QString colName = col.value(1);
        const bool altered = colName.compare(column, Qt::CaseInsensitive) == 0;
        JetColumnType colType = altered ? type : jetTypeFromDeclaration(col.value(2));
        const int pk = col.value(5).toInt();
        const bool rowKey = pk > 0 && keyColumns == 1 && autoIncrement && !altered;
        if (rowKey)
            colType.type = JetType::Counter;
        QString def = sqliteColumnDefinition(colName, colType);
        if (rowKey)
            def += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
        else if (pk > 0 && keyColumns == 1)
            def += QStringLiteral(" PRIMARY KEY");
        else if (pk > 0)
            keyOrder[pk] = quotedName(colName);
        if (col.value(3).toInt() != 0)
            def += QStringLiteral(" NOT NULL");
        if (altered && !newDefault.isEmpty())
            def += QStringLiteral(" DEFAULT ") + newDefault;
        else if (!col.value(4).isNull())
            def += QStringLiteral(" DEFAULT ") + col.value(4);
        else if (colType.type == JetType::YesNo)
            def += QStringLiteral(" DEFAULT 0");
        if (colType.type == JetType::YesNo)
            yesNoColumns.append(colName);
        definitions.append(def);
        names.append(quotedName(colName));
    }
    if (!keyOrder.empty()) {
        QStringList keys;
        for (const auto& [position, key] : keyOrder)
            keys.append(key);
        definitions.append(QStringLiteral("PRIMARY KEY (%1)").arg(keys.join(QStringLiteral(", "))));
    }
    // Unique constraints live in automatic indexes that go with the old table.
    for (const QStringList& index : queryRows(db, "SELECT name, origin FROM pragma_index_list(?1)", name)) {
        if (index.value(1) != QLatin1String("u"))
            continue;
        QStringList columns;
        for (const QStringList& part : queryRows(db, "SELECT name FROM pragma_index_info(?1)", index.value(0)))
            columns.append(quotedName(part.value(0)));
        definitions.append(QStringLiteral("UNIQUE (%1)").arg(columns.join(QStringLiteral(", "))));
    }
    // Indexes and triggers written out in full are created again as they were.
    QStringList recreate;
    for (const QStringList& row : queryRows(db,
                                            "SELECT sql, name FROM sqlite_master WHERE tbl_name = ?1 "
                                            "AND type IN ('index', 'trigger') AND sql IS NOT NULL",
                                            name)) {
        if (!row.value(1).startsWith(QLatin1String("jet_yesno_")))
            recreate.append(row.value(0));
    }

    const QString scratch = quotedName(QStringLiteral("vortan_rebuild_") + name);
    const QString list = names.join(QStringLiteral(", "));
    QStringList statements;
    statements.append(QStringLiteral("CREATE TABLE %1 (%2)").arg(scratch, definitions.join(QStringLiteral(", "))));
    statements.append(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 ORDER BY rowid").arg(scratch, list, q));
    statements.append(QStringLiteral("DROP TABLE %1").arg(q));
    statements.append(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(scratch, q));
    statements.append(recreate);
    for (const QString& yesNo : yesNoColumns)
        statements.append(yesNoTriggers(name, yesNo));
    runInSavepoint(db, statements);
}

} // namespace vortan::db
