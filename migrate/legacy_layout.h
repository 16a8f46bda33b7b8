#pragma once
// The survey database of the old Windows version, an Access file: which
// tables and columns a file of that program has (the oldest release lacks
// SystemSetting, mst住所, the columns 印刷 and 印刷測点No of 測点 and the
// columns C and D of mstQa値計算式), how the catalog the reader sends is
// checked against them, and how each table is copied into the program's
// own database: the same columns in the same order with the same types and
// sizes, so that the upgrade of the program's start-up brings the copy to
// the current layout exactly as it would have brought the file.

#include "db/value.h"
#include "migrate/reader_stream.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace vortan::migrate {

// What a column of the layout holds, as far as the copy cares.
enum class ValueKind { Text, Whole, Single, YesNo };

struct LayoutColumn {
    QString name;
    ValueKind kind = ValueKind::Text;
    bool optional = false;     // missing in files of older releases
    bool primaryKey = false;
    bool counter = false;      // numbered by the engine (AutoNumber)
};

struct LayoutTable {
    QString name;
    bool optional = false;     // missing in files of older releases
    std::vector<LayoutColumn> columns;
};

// Every table of the layout, in the order they are copied and listed.
const std::vector<LayoutTable>& LegacyTables();

// The file's tables as the reader's catalog describes them.
struct CatalogColumn {
    QString name;
    QString kind;    // "Text", "Memo", "Long", "Integer", "Byte", "Single", "Double", "Boolean", ...
    int size = 0;    // characters of a Text column
};

struct CatalogTable {
    QString name;
    qint64 definitionRows = 0;
    std::vector<CatalogColumn> columns;
};

// The catalog's table of that name (letter case aside), nullptr when none.
const CatalogTable* findTable(const std::vector<CatalogTable>& catalog, const QString& name);

// What the file lacks of the layout, in layout order: the name of a missing
// table, "table.column" for a column that is missing or holds another kind
// of value. Empty when the file has the layout.
QStringList MissingFromLegacyLayout(const std::vector<CatalogTable>& catalog);

// The copy of one table: the columns of the file's table that the layout
// knows, in the file's order.
class TableCopy {
public:
    TableCopy(const LayoutTable& layout, const CatalogTable& catalog);

    const QString& name() const { return name_; }   // as the file spells it
    qint64 definitionRows() const { return definitionRows_; }

    // The CREATE TABLE statement of the copy, in the program's SQL dialect.
    QString createStatement() const;

    // The names of the copy's columns, in the order of values().
    QStringList columnNames() const;

    // The values of one row for the copy's columns; `fields` are the row's
    // fields in the file's column order. Singles come as the shortest
    // decimal that reads back as the same single, so the stored number is
    // that single's value. A number that is not a number, or a row with too
    // few fields, throws Failure 3343.
    void values(const std::vector<StreamField>& fields, std::vector<db::Value>& out) const;

private:
    struct Column {
        qsizetype source = 0;    // position in the file's row
        QString name;
        ValueKind kind = ValueKind::Text;
        QString declaration;
    };
    QString name_;
    qint64 definitionRows_ = 0;
    std::vector<Column> columns_;
};

} // namespace vortan::migrate
