#pragma once
// The rows a SELECT returned, read the way the program reads them: row count,
// move first and next, end test, fields by name (without regard to letter
// case; "table.column" picks a column of a joined table, a bare name the first
// column of that name), Null as a value.

#include "db/value.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace vortan::db {

class RecordSet {
public:
    RecordSet();
    RecordSet(QStringList columnNames, QStringList tableNames, std::vector<std::vector<Value>> rows);
    RecordSet(RecordSet&&) noexcept;
    RecordSet& operator=(RecordSet&&) noexcept;
    ~RecordSet();

    int recordCount() const;
    bool eof() const;
    void moveFirst();
    void moveNext();

    // Field of the current row by name; an unknown name throws Failure 3265,
    // reading at the end throws Failure 3021 (no current record).
    const Value& field(const QString& name) const;
    const Value& field(int index) const;
    bool hasField(const QString& name) const;
    int fieldCount() const;
    QString fieldName(int index) const;

    void close();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vortan::db
