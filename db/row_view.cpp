#include "db/row_view.h"

#include "core/number_text.h"
#include "db/engine_error_map.h"
#include "core/failure.h"

#include <sqlite3.h>

#include <charconv>

namespace vortan::db {

int findColumn(const QStringList& columns, const QStringList& tables, const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0) {
        const QStringView table = QStringView(name).left(dot);
        const QStringView column = QStringView(name).mid(dot + 1);
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (columns[i].compare(column, Qt::CaseInsensitive) == 0
                && tables.value(i).compare(table, Qt::CaseInsensitive) == 0)
                return int(i);
        }
    }
    // A bare name picks the first column of that name; a name with a dot
    // may also be the whole name of a column ("Max(t.c)" without alias).
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

RowView::RowView(sqlite3_stmt* stmt, const QStringList& columns, const QStringList& tables)
    : stmt_(stmt), columns_(columns), tables_(tables), numberTexts_(size_t(columns.size()))
{
}

RowView::RowView(const QStringList& columns, const QStringList& tables)
    : columns_(columns), tables_(tables), numberTexts_(size_t(columns.size()))
{
}

QString RowView::columnName(int column) const
{
    return columns_.value(column);
}

QString RowView::tableName(int column) const
{
    return tables_.value(column);
}

int RowView::columnIndex(const QString& name) const
{
    return findColumn(columns_, tables_, name);
}

int RowView::type(int column) const
{
    if (column < 0 || column >= columns_.size())
        throw engineFailure(err::DbItemNotFound,
                            QStringLiteral("項目「%1」がありません。").arg(column));
    if (!stmt_) {
        const Value& v = value(column);
        if (v.isNull())
            return SQLITE_NULL;
        const int id = v.variant().typeId();
        return id == QMetaType::LongLong ? SQLITE_INTEGER : id == QMetaType::Double ? SQLITE_FLOAT : SQLITE_TEXT;
    }
    return sqlite3_column_type(stmt_, column);
}

const Value& RowView::value(int column) const
{
    return (*values_)[size_t(column)];
}

qint64 RowView::integerAt(int column) const
{
    return stmt_ ? sqlite3_column_int64(stmt_, column) : value(column).variant().toLongLong();
}

double RowView::doubleAt(int column) const
{
    return stmt_ ? sqlite3_column_double(stmt_, column) : value(column).variant().toDouble();
}

Value RowView::cell(int column) const
{
    switch (type(column)) {
    case SQLITE_NULL: return Value();
    case SQLITE_INTEGER: return Value(qint64(integerAt(column)));
    case SQLITE_FLOAT: return Value(doubleAt(column));
    default: return Value(text(column).toString());
    }
}

bool RowView::isNull(int column) const
{
    return type(column) == SQLITE_NULL;
}

bool RowView::isNumber(int column) const
{
    const int t = type(column);
    return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
}

QStringView RowView::text(int column) const
{
    switch (type(column)) {
    case SQLITE_NULL: return {};
    case SQLITE_INTEGER:
        numberTexts_[size_t(column)].setNum(qint64(integerAt(column)));
        return numberTexts_[size_t(column)];
    case SQLITE_FLOAT:
        numberTexts_[size_t(column)] = numtext::shortestDouble(doubleAt(column));
        return numberTexts_[size_t(column)];
    default: {
        if (!stmt_)
            return *static_cast<const QString*>(value(column).variant().constData());
        const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt_, column));
        const qsizetype length = sqlite3_column_bytes16(stmt_, column) / 2;
        return text ? QStringView(text, length) : QStringView();
    }
    }
}

void RowView::appendText(int column, QString& out) const
{
    switch (type(column)) {
    case SQLITE_NULL: return;
    case SQLITE_INTEGER: out += QString::number(qint64(integerAt(column))); return;
    case SQLITE_FLOAT: out += numtext::shortestDouble(doubleAt(column)); return;
    default: {
        if (!stmt_) {
            out += text(column);
            return;
        }
        // Stored as UTF-8: converting straight into `out` spares the engine's
        // own UTF-16 copy of the cell.
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        const qsizetype bytes = sqlite3_column_bytes(stmt_, column);
        if (!text || bytes == 0)
            return;
        const qsizetype start = out.size();
        out.resize(start + bytes);   // UTF-8 never has fewer bytes than UTF-16 code units
        const QChar* end = utf8_.appendToBuffer(out.data() + start, QByteArrayView(text, bytes));
        out.truncate(end - out.constData());
    }
    }
}

void RowView::appendNumberText(int column, QByteArray& out) const
{
    switch (type(column)) {
    case SQLITE_INTEGER: {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, integerAt(column)).ptr;
        out.append(digits, end - digits);
        return;
    }
    case SQLITE_FLOAT: numtext::appendShortestDouble(doubleAt(column), out); return;
    default: return;
    }
}

QByteArrayView RowView::textBytes(int column) const
{
    if (type(column) != SQLITE_TEXT)
        return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(stmt_, column)) : QByteArrayView();
}

double RowView::number(int column) const
{
    switch (type(column)) {
    case SQLITE_NULL: return 0;
    case SQLITE_INTEGER: return double(integerAt(column));
    case SQLITE_FLOAT: return doubleAt(column);
    default: return numtext::leadingNumber(text(column));
    }
}

} // namespace vortan::db
