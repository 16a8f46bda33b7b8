#include "db/database_copy.h"

#include "db/database.h"
#include "db/engine_error_map.h"

namespace vortan::db {

namespace {

QString bracketed(const QString& name)
{
    return u'[' + name + u']';
}

qint64 copyTable(Database& from, Database& to, const QString& table)
{
    if (!to.tableExists(table))
        to.execute(from.tableDefinition(table));
    to.execute(QStringLiteral("DELETE FROM ") + bracketed(table));
    // The rows travel one at a time, none kept: a database of many years
    // would otherwise be held whole in memory.
    const QString all = QStringLiteral("SELECT * FROM ") + bracketed(table);
    const RecordSet head = from.openRecordSet(all + QStringLiteral(" WHERE 1 = 0"));
    // The target's own columns, named as the source names them.
    RecordSet target = to.openRecordSet(all + QStringLiteral(" WHERE 1 = 0"));
    QStringList columns;
    std::vector<int> sources;
    for (int c = 0; c < target.fieldCount(); ++c) {
        for (int s = 0; s < head.fieldCount(); ++s) {
            if (head.fieldName(s).compare(target.fieldName(c), Qt::CaseInsensitive) == 0) {
                columns.append(target.fieldName(c));
                sources.push_back(s);
                break;
            }
        }
    }
    if (columns.isEmpty())
        return 0;
    int insert = -1;
    std::vector<Value> values(sources.size());
    qint64 count = 0;
    from.forEachRow(all, [&](const RowView& row) {
        if (insert < 0)
            insert = to.prepareInsert(table, columns);
        for (size_t i = 0; i < sources.size(); ++i)
            values[i] = row.cell(sources[i]);
        to.insertRow(insert, values);
        ++count;
    });
    return count;
}

} // namespace

std::vector<CopiedTable> copyDatabase(Database& from, Database& to)
{
    std::vector<CopiedTable> copied;
    to.beginTransaction();
    try {
        for (const QString& table : from.tableNames())
            copied.push_back({table, copyTable(from, to, table)});
        to.commit();
    } catch (...) {
        if (to.inTransaction())
            to.rollback();
        throw;
    }
    return copied;
}

std::unique_ptr<Database> openServerCopyTarget(const QString& uri)
{
    try {
        return Database::create(uri);
    } catch (const Failure& failure) {
        if (failure.number() != jeterr::DatabaseExists)
            throw;
    }
    return Database::open(uri);
}

qint64 surveyCount(Database& database)
{
    if (!database.tableExists(QStringLiteral("調査地区")))
        return 0;
    RecordSet rows = database.openRecordSet(QStringLiteral("SELECT Count(*) AS n FROM 調査地区"));
    return rows.eof() ? 0 : qint64(rows.field(0).toNumber());
}

} // namespace vortan::db
