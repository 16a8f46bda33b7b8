#pragma once
// The column types of the program's SQL dialect (String(n), Text(n), Char(n),
// Memo, Long, Integer, Short, Byte, Single, Double, Currency, YesNo, Bit,
// DateTime, Counter) and how each is declared in a SQLite table so that the
// engine keeps their rules: text columns compare without regard to letter
// case and refuse texts longer than their size, number columns refuse texts
// that are not numbers, yes/no columns hold -1 for true and 0 for false.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace vortan::db {

enum class JetType { Text, Memo, Long, Short, Byte, Single, Double, Currency, YesNo, DateTime, Counter };

struct JetColumnType {
    JetType type = JetType::Memo;
    int size = 0;   // characters of a Text column

    bool isText() const { return type == JetType::Text || type == JetType::Memo; }
    bool isNumber() const { return !isText() && type != JetType::DateTime; }
};

// Reads a type word of the dialect with its optional size ("char", 4).
// Returns nothing for a word that is no type. Text without a size holds 255.
std::optional<JetColumnType> jetTypeFromWord(QStringView word, std::optional<int> size);

// Reads back a type from the declaration SQLite keeps for a column (the form
// written by sqliteDeclaration); unknown declarations read as Memo.
JetColumnType jetTypeFromDeclaration(QStringView declaration);

// The type as the dialect writes it in a table definition ("String(4)",
// "Long", "YesNo", ...).
QString jetTypeWord(const JetColumnType& type);

// The declared type written into SQLite ("VARCHAR(4)", "INTEGER", "YESNO", ...).
QString sqliteDeclaration(const JetColumnType& type);

// The column definition without its key and null constraints: quoted name,
// declared type, collation and the named checks that keep the type's rules.
QString sqliteColumnDefinition(const QString& name, const JetColumnType& type);

// Triggers that turn any non-zero value written into a yes/no column into -1
// (and Null into 0): the statements creating them.
QStringList yesNoTriggers(const QString& table, const QString& column);

// A name between double quotes as SQLite expects it.
QString quotedName(QStringView name);

} // namespace vortan::db
