#include "db/record_set.h"

#include "db/engine_error_map.h"
#include "db/row_view.h"

namespace vortan::db {

struct RecordSet::Impl {
    QStringList columns;
    QStringList tables;
    std::vector<std::vector<Value>> rows;
    size_t current = 0;

    int find(const QString& name) const { return findColumn(columns, tables, name); }
};

RecordSet::RecordSet() : d(std::make_unique<Impl>()) {}

RecordSet::RecordSet(QStringList columnNames, QStringList tableNames, std::vector<std::vector<Value>> rows)
    : d(std::make_unique<Impl>())
{
    d->columns = std::move(columnNames);
    d->tables = std::move(tableNames);
    d->rows = std::move(rows);
}

RecordSet::RecordSet(RecordSet&&) noexcept = default;
RecordSet& RecordSet::operator=(RecordSet&&) noexcept = default;
RecordSet::~RecordSet() = default;

int RecordSet::recordCount() const
{
    return d ? int(d->rows.size()) : 0;
}

bool RecordSet::eof() const
{
    return !d || d->current >= d->rows.size();
}

void RecordSet::moveFirst()
{
    if (d)
        d->current = 0;
}

void RecordSet::moveNext()
{
    if (eof())
        throw engineFailure(jeterr::NoCurrentRecord, QStringLiteral("カレントレコードがありません。"));
    ++d->current;
}

const Value& RecordSet::field(const QString& name) const
{
    const int index = d ? d->find(name) : -1;
    if (index < 0)
        throw engineFailure(err::DbItemNotFound,
                            QStringLiteral("項目「%1」がありません。").arg(name));
    return field(index);
}

const Value& RecordSet::field(int index) const
{
    if (!d || index < 0 || index >= d->columns.size())
        throw engineFailure(err::DbItemNotFound,
                            QStringLiteral("項目「%1」がありません。").arg(index));
    if (eof())
        throw engineFailure(jeterr::NoCurrentRecord, QStringLiteral("カレントレコードがありません。"));
    return d->rows[d->current][size_t(index)];
}

bool RecordSet::hasField(const QString& name) const
{
    return d && d->find(name) >= 0;
}

int RecordSet::fieldCount() const
{
    return d ? int(d->columns.size()) : 0;
}

QString RecordSet::fieldName(int index) const
{
    return d ? d->columns.value(index) : QString();
}

void RecordSet::close()
{
    if (d) {
        d->rows.clear();
        d->current = 0;
    }
}

} // namespace vortan::db
