#pragma once
// One row of a query read forward without copying it: the columns' names and,
// per cell, Null, the value as text and as a number, read the way a record
// set's Value reads them. Text cells are views over the engine's own buffer
// (a SQLite statement's current row, or the values a server sent); a view and
// every text it hands out are valid only while the row is being visited.

#include "db/value.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QStringView>
#include <vector>

struct sqlite3_stmt;

namespace vortan::db {

class RowView {
public:
    RowView(sqlite3_stmt* stmt, const QStringList& columns, const QStringList& tables);
    // A row of values; setRow moves the view to the next one.
    RowView(const QStringList& columns, const QStringList& tables);
    void setRow(const std::vector<Value>* row) { values_ = row; }
    RowView(const RowView&) = delete;
    RowView& operator=(const RowView&) = delete;

    int columnCount() const { return int(columns_.size()); }
    // The bare column name and the name of the table it comes from (empty
    // for a computed column).
    QString columnName(int column) const;
    QString tableName(int column) const;
    // The index a record set's field name stands for ("table.column" or a
    // bare name, without regard to letter case), or -1 when there is none.
    int columnIndex(const QString& name) const;

    bool isNull(int column) const;
    bool isNumber(int column) const;
    // The cell as text: Null gives the empty text, numbers their shortest
    // decimal text (a whole number without a decimal point).
    QStringView text(int column) const;
    // Appends the cell's text (as text() gives it) to `out`, without an
    // intermediate copy: the quickest way to build a line from many cells.
    void appendText(int column, QString& out) const;
    // Appends a number cell's text (as text() gives it, ASCII digits) to
    // `out`; any other cell appends nothing. Lines of a file in any code
    // page take it as it is.
    void appendNumberText(int column, QByteArray& out) const;
    // A text cell's bytes as stored (UTF-8); empty for Null, numbers and
    // the empty text. Equal bytes are equal texts: a reader can skip work
    // for a cell that repeats the one it saw before.
    QByteArrayView textBytes(int column) const;
    // The cell as a number by the leading-number rule (Null gives 0).
    double number(int column) const;
    // The cell as a record set holds it: Null, a whole number, a number
    // with a fraction or a text, each as stored.
    Value cell(int column) const;

private:
    int type(int column) const;
    const Value& value(int column) const;
    qint64 integerAt(int column) const;
    double doubleAt(int column) const;

    sqlite3_stmt* stmt_ = nullptr;
    const std::vector<Value>* values_ = nullptr;
    const QStringList& columns_;
    const QStringList& tables_;
    mutable std::vector<QString> numberTexts_;
    mutable QStringDecoder utf8_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};

// The column a record set's field name stands for among `columns` (bare
// names) and `tables` (their tables), or -1.
int findColumn(const QStringList& columns, const QStringList& tables, const QString& name);

} // namespace vortan::db
