#include "db/database_copy.h"

#include "db/database.h"

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
    RecordSet rows = from.openRecordSet(QStringLiteral("SELECT * FROM ") + bracketed(table));
    // The target's own columns, named as the source names them.
    RecordSet target = to.openRecordSet(QStringLiteral("SELECT * FROM ") + bracketed(table) + QStringLiteral(" WHERE 1 = 0"));
    QStringList columns;
    std::vector<int> sources;
    for (int c = 0; c < target.fieldCount(); ++c) {
        for (int s = 0; s < rows.fieldCount(); ++s) {
            if (rows.fieldName(s).compare(target.fieldName(c), Qt::CaseInsensitive) == 0) {
                columns.append(target.fieldName(c));
                sources.push_back(s);
                break;
            }
        }
    }
    if (columns.isEmpty() || rows.eof())
        return 0;
    const int insert = to.prepareInsert(table, columns);
    std::vector<Value> values(sources.size());
    qint64 count = 0;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        for (size_t i = 0; i < sources.size(); ++i)
            values[i] = rows.field(sources[i]);
        to.insertRow(insert, values);
        ++count;
    }
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

qint64 surveyCount(Database& database)
{
    if (!database.tableExists(QStringLiteral("調査地区")))
        return 0;
    RecordSet rows = database.openRecordSet(QStringLiteral("SELECT Count(*) AS n FROM 調査地区"));
    return rows.eof() ? 0 : qint64(rows.field(0).toNumber());
}

} // namespace vortan::db
