#pragma once
// An Access (Jet 3 / Jet 4) database file read through libmdb, read-only: its
// user tables with their columns and the row counts of their definitions, and
// the rows of a table in stored order as texts. This library is the only code
// that sees libmdb or glib; it runs inside the reader program, a child process
// of the program, because libmdb can crash or hang on a damaged file.
//
// Values come out as texts: Null apart from the empty text (libmdb's bound
// values cannot tell them apart, the cracked row can), whole numbers in
// decimal, Single and Double as the shortest decimal that reads back as the
// same value (never libmdb's "%.8g" text, which turns 0.4 into 0.40000001),
// Yes/No as "1" or "0", text as UTF-8. Jet 4 text is UCS-2 and converted as
// such; Jet 3 text is read in code page 932, the code page of the Japanese
// Windows the old program ran on.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vortan::mdb {

enum class ColumnKind { Boolean, Byte, Integer, Long, Single, Double, Currency, DateTime, Text, Memo, Other };

// The name a kind is written as in the reader's stream ("Text", "Long", ...).
const char* kindName(ColumnKind kind);

struct AccessColumn {
    std::string name;     // UTF-8
    ColumnKind kind = ColumnKind::Other;
    int size = 0;         // characters of a Text column, else 0
};

struct AccessTable {
    std::string name;     // UTF-8
    long definitionRows = 0;  // the row count the table definition stores
    std::vector<AccessColumn> columns;
};

// One field of a row. Its text keeps its storage from row to row.
struct Field {
    bool null = true;
    std::string text;   // UTF-8; empty for Null
};

class AccessFile {
public:
    // Opens the file and reads the definitions of its user tables. Returns
    // nothing and sets `problem` when libmdb cannot open the file or read a
    // definition.
    static std::unique_ptr<AccessFile> open(const std::string& path, std::string& problem);
    ~AccessFile();
    AccessFile(const AccessFile&) = delete;
    AccessFile& operator=(const AccessFile&) = delete;

    // 3 for Jet 3 (Access 97), 4 for Jet 4 (Access 2000-2003), higher for
    // the later formats.
    int jetVersion() const;
    const std::vector<AccessTable>& tables() const { return tables_; }

    // Hands every row of the table at `index` of tables() to `visit`, in the
    // order a table scan returns them; the fields are in column order and
    // valid during the call only. Returns the number of rows read, -1 when
    // the table's definition cannot be read. A file cut short reads fewer
    // rows than its definition counts, without any other sign.
    long readRows(std::size_t index, const std::function<void(const std::vector<Field>&)>& visit);

    struct Handle;

private:
    AccessFile(std::unique_ptr<Handle> handle, std::vector<AccessTable> tables);
    std::unique_ptr<Handle> handle_;
    std::vector<AccessTable> tables_;
};

} // namespace vortan::mdb
