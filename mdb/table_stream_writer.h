#pragma once
// Writes an Access file's catalog and the rows of its tables as the stream
// the program reads from the reader program: UTF-8 lines of TAB-separated
// fields after a one-letter tag (T table, C column, S end of catalog, D rows
// of a table, R one row, E end of the table's rows, Z end), Null as \N and
// "\", TAB, LF, CR escaped. The program's side, migrate/reader_stream.h,
// describes each line.

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
