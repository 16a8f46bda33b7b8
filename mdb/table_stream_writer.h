#pragma once
// The stream in which the reader program hands an Access file's tables to the
// program: UTF-8 lines ending in LF, fields separated by TAB, the first field
// a tag.
//
//   T <table> <rows of its definition>      one per user table, catalog order
//   C <column> <kind> <characters>          its columns, in table order
//   S                                       end of the catalog
//   D <table>                               the rows of a table follow
//   R <field> <field> ...                   one row, its fields in column order
//   E <table> <rows read>                   end of that table's rows
//   Z                                       end: every requested table was read
//
// A field is \N for Null, otherwise its text with "\" written "\\" and TAB,
// LF and CR written "\t", "\n", "\r" (an empty field is the empty text).
// Kinds are the names of ColumnKind ("Text", "Long", "Single", ...).

#include "mdb/access_file.h"

#include <cstdio>
#include <string>

namespace vortan::mdb {

class TableStreamWriter {
public:
    explicit TableStreamWriter(std::FILE* out) : out_(out) {}

    void catalog(const AccessFile& file);
    void beginTable(const AccessTable& table);
    void row(const std::vector<Field>& fields);
    void endTable(const AccessTable& table, long rowsRead);
    void end();
    // Pushes what was written to the reading side; false when writing failed.
    bool flush();

private:
    void escaped(const std::string& text);
    void put(const char* text) { line_ += text; }
    void number(long value);   // a TAB and the number
    void finishLine();

    std::FILE* out_;
    std::string line_;
};

} // namespace vortan::mdb
