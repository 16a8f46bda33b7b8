#pragma once
// Translates one statement text of the program's SQL dialect into the SQL of
// an engine: SQLite, or PostgreSQL (whose data statements the PostgreSQL
// engine finishes from the same shape: parameter numbers, Like, functions).
// Literals are taken out of data statements and replaced by parameters, so
// the translated text is the statement's shape: statements that differ only
// in their values translate to the same text and share one prepared
// statement. Schema statements (create table, alter table, ...) translate
// into the SQLite statements that carry out the same change.

#include "db/jet_column_type.h"
#include "db/jet_sql_tokenizer.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace vortan::db {

enum class StatementKind {
    Select,
    Insert,
    Update,
    Delete,
    Schema,        // run `schemaStatements` in order
    AlterColumn,   // change the type of `column` in `table` to `newType` (and its default)
};

struct SqlLiteral {
    enum class Kind { Integer, Real, Text };
    Kind kind = Kind::Integer;
    qint64 integer = 0;
    double real = 0;
    QStringView text;   // into the statement, or into `owned` when quotes were undoubled
    QString owned;
};

struct TranslatedStatement {
    StatementKind kind = StatementKind::Select;
    QString sql;                        // the shape, with one ? per literal
    std::vector<SqlLiteral> literals;   // bound to the ?s in order
    QStringList schemaStatements;
    QString table;
    QString column;
    JetColumnType newType;
    QString newDefault;                 // SQLite text of the altered column's default; empty: keep it
};

// The engine a translator writes schema statements for.
enum class SqlDialect { Sqlite, PostgreSql };

// A text column with a trigram index (see like_trigram_query.h): the key
// column of its table numbers the rows of the full-text table `index`.
struct TrigramIndexedColumn {
    QString table;
    QString column;
    QString key;
    QString index;
};

class JetSqlTranslator {
public:
    explicit JetSqlTranslator(SqlDialect dialect = SqlDialect::Sqlite) : dialect_(dialect) {}

    // Translates `jetSql` into `out`, reusing its buffers. The literals may
    // point into `jetSql`, which must outlive their use. Unknown or broken
    // syntax throws Failure with the syntax error number.
    void translate(QStringView jetSql, TranslatedStatement& out);

    // The columns whose Like patterns a SELECT looks up in their trigram
    // index: "t.c Like 'text'" joined to the WHERE of the statement by AND,
    // OR and parentheses only, whose text holds a run the index finds,
    // becomes "(t.c LIKE ? AND t.key IN (rows the index finds))". Like still
    // decides among the rows found, and those rows include every row it can
    // match, so the statement returns what it returned before.
    void setTrigramIndexedColumns(std::vector<TrigramIndexedColumn> columns);

private:
    // A Like of a trigram-indexed column rewritten as above: tokens
    // [first, first + 4], the query of the index and the column.
    struct TrigramLookup {
        size_t first;
        QString query;
        const TrigramIndexedColumn* column;
    };
    void findTrigramLookups();
    // True when the rows of the SELECT are exactly those for which the term
    // of tokens [first, last] is true, whatever it gives for the others.
    bool decidesRowsByTruth(size_t first, size_t last) const;

    void translateData(TranslatedStatement& out, size_t first);
    void translateCreateTable(TranslatedStatement& out);
    // One column of a CREATE TABLE: its name, type and constraints.
    struct ColumnSpec;
    // The index of the comma (or closing parenthesis at `end`) that ends the
    // CREATE TABLE item starting at `first`.
    size_t endOfItem(size_t first, size_t end) const;
    // The engine's text of a table constraint; notes whether it is a primary key.
    QString tableConstraint(size_t first, size_t end, bool& primaryKey);
    ColumnSpec columnSpec(size_t first, size_t end) const;
    // The type word at tokens_[k] with its optional "(size)"; k moves past them.
    JetColumnType columnType(size_t& k, size_t end) const;
    QString createTableText(const QString& table, const std::vector<ColumnSpec>& columns,
                            const QStringList& constraints, bool tablePrimaryKey) const;
    void translateAlterTable(TranslatedStatement& out);
    void translateOtherSchema(TranslatedStatement& out);
    // The SQLite text of the value after DEFAULT at tokens_[k]; k moves past it.
    QString defaultValue(size_t& k, size_t end) const;
    // A syntax error; `token` is the index of the token it is found at, or
    // -1 for the end of the statement (an empty statement: its start).
    [[noreturn]] void fail(const char* what, std::ptrdiff_t token = -2) const;

    QString columnDefinition(const QString& name, const JetColumnType& type) const;
    // Statements that keep a column's yes/no values -1 and 0, and (for
    // PostgreSQL) that note the column's type in the dialect.
    QStringList columnRules(const QString& table, const QString& column, const JetColumnType& type) const;

    SqlDialect dialect_;
    QStringView sql_;
    std::vector<SqlToken> tokens_;
    std::vector<char> skip_;
    std::vector<TrigramIndexedColumn> trigramColumns_;
    std::vector<TrigramLookup> lookups_;
};

} // namespace vortan::db
