#pragma once
// A survey or postal database in the program's SQL dialect: a SQLite file,
// or a PostgreSQL database named by a connection URI
// ("postgresql://host:port/dbname?user=..." or
// "postgresql:///dbname?host=/socket/folder"). The program builds its
// statements as texts the way the desktop SQL engine of its first platform
// expected them (Like with * ? # [..] wildcards, DELETE t.* FROM t, qualified
// columns in SET, String(n)/char(n)/yesno types, ALTER COLUMN, double-quoted
// text literals, True/False); this layer translates each text to the engine's SQL,
// keeps the dialect's typing rules (a non-numeric text into a number column
// fails with 3464; a bare number into a text column is stored as its text;
// declared text lengths are enforced; text compares without regard to letter
// case), prepares each statement shape once, and raises every engine failure
// as Failure with the engine error number the reporter knows.

#include "db/database_engine.h"

#include <QString>
#include <functional>
#include <vector>
#include <memory>
#include <optional>

namespace vortan::db {

class Database {
public:
    // Opens an existing database shared and read-write (never creates one).
    // A connection URI opens a PostgreSQL database: a server that cannot be
    // reached throws 3043 naming the host, a database that does not exist
    // 3024; a lock held by another workstation past the busy timeout throws
    // 3006 there too. Passwords come from libpq's own means (~/.pgpass,
    // PGPASSWORD, a service file), never from the settings. For a file: a
    // missing file throws 3024, a file that is not a database or is damaged
    // 3343, a read-only file 3051, a file held exclusively by another
    // program 3045, a missing folder 3044. Later statements that cannot get
    // the file's lock within the busy timeout throw 3006, a commit 3261.
    static std::unique_ptr<Database> open(const QString& path);
    // Creates a new empty database file (fails with 3204 when it exists); a
    // connection URI opens the PostgreSQL database (created on the server
    // when it does not exist), which must hold no tables yet (3204 otherwise).
    static std::unique_ptr<Database> create(const QString& path);

    ~Database();

    // The file path or connection URI the database was opened with.
    QString path() const;

    // How long a statement waits for another program's lock on the file
    // before it fails with 3006: for connections opened later, and for this
    // one. The default is 5000 ms, or the environment variable
    // VORTAN_BUSY_TIMEOUT in milliseconds when it is set.
    static void setDefaultBusyTimeout(int milliseconds);
    void setBusyTimeout(int milliseconds);

    // Executes a changing statement with fail-on-error: a failing statement
    // changes nothing and throws Failure. Returns the number of rows changed.
    int execute(const QString& sql);

    // Copying rows in bulk: an INSERT of these columns prepared once and run
    // with each row's values bound, so that no statement text is built and
    // translated per row. The table's rules hold as for any INSERT (text
    // sizes, numbers in number columns, yes/no values as -1 and 0). Returns
    // the number of the insert for insertRow; the same table and columns
    // give the same number again. Both fail like execute.
    int prepareInsert(const QString& table, const QStringList& columns);
    void insertRow(int insert, const std::vector<Value>& values);

    // Runs a SELECT and returns its rows.
    RecordSet openRecordSet(const QString& sql);

    // Runs a SELECT and hands its rows one at a time to `visit`, without
    // keeping them; a row and its texts are valid only during the call. The
    // visitor may run other statements on this database. Returns the number
    // of rows visited; fails like openRecordSet.
    qint64 forEachRow(const QString& sql, const std::function<void(const RowView&)>& visit);

    // True when the database has a table of that name (any letter case).
    bool tableExists(const QString& name);
    // True when the database has an index of that name (any letter case),
    // a substring index included.
    bool indexExists(const QString& name);

    // A substring index over text columns of a table whose key is a
    // whole-number primary key: a Like pattern on one of the columns in a
    // query's WHERE that holds a run of three or more plain characters then
    // finds its candidate rows in the index instead of reading the whole
    // table, and Like decides among them, so every query returns what it
    // returns without the index. The engine keeps the index in step with the
    // table's inserts, updates and deletes, and fills it from the rows there
    // when it creates it, all or nothing. Returns true when the index was
    // created now, or when an existing index of that name had its upkeep
    // done now (settings of an earlier version brought up to date, the
    // parts that writes added merged when they had become many); false
    // when the database already has that index as it should be or
    // something else of that name, the table lacks a column or such a key,
    // or the engine keeps no substring indexes (a PostgreSQL server reads
    // the table). The index is no table of the program: tableNames()
    // leaves it out.
    bool createSubstringIndex(const QString& name, const QString& table, const QString& key,
                              const QStringList& columns);

    // The program's tables in the order they were created (without the
    // tables of substring indexes), and the statement
    // in the program's dialect that creates a table like one of them (column
    // types, single-column primary key, defaults): what copying a database
    // to another engine needs. A missing table throws 3078.
    QStringList tableNames();
    QString tableDefinition(const QString& table);

    // The default a column declares, as the engine keeps it ("-1" for a
    // yes/no column that defaults to True, "'text'" for a text), or nothing
    // when it declares none. A missing table throws 3078, a missing column 3265.
    std::optional<QString> columnDefault(const QString& table, const QString& column);

    // Transactions (the workspace begins them on every open database).
    // An outermost transaction begun for writing takes the file's write lock
    // at once, waiting up to the busy timeout while another program holds
    // it. Taken only at the first write, after the transaction has read,
    // the lock could not be waited for: the engine fails such a write at
    // once rather than risk two programs waiting for each other. One begun
    // for reading leaves the file to other writers until it writes.
    // PostgreSQL keeps the same rule with a lock of the whole database that
    // every transaction begun for writing takes at its start.
    using TransactionIntent = db::TransactionIntent;
    void beginTransaction(TransactionIntent intent = TransactionIntent::Write);
    void commit();
    void rollback();
    bool inTransaction() const;

    // Number of statements prepared from text so far (shapes not yet cached).
    // Benchmarks and tests read it to prove the statement cache works.
    quint64 preparedStatementCount() const;
    // Number of statements executed or queried so far.
    quint64 statementCount() const;

    // Watching the statements a piece of work runs (benchmarks list them with
    // their query plans): `observer`, while set, is told of every statement
    // this connection runs, as the program wrote it and as the engine runs
    // it (literals taken out; statements of one shape have one engine text).
    // An empty function stops the watching.
    using StatementObserver = db::StatementObserver;
    void setStatementObserver(StatementObserver observer);

    // The engine's plan for a statement of the program's dialect, one line
    // per step ("SEARCH 測点データ USING INDEX ..."; a step that reads a
    // whole table says "SCAN" and the table's name). Fails like openRecordSet.
    QStringList queryPlan(const QString& sql);

    // The engine's integrity check: true when the file is sound (a server
    // database is checked by its server: always true).
    bool integrityCheck();

    // Writes a compacted copy of the database file into `target` (VACUUM
    // INTO); a server database has no file to copy (3219).
    void compactInto(const QString& target);

    void close();

private:
    explicit Database(std::unique_ptr<DatabaseEngine> engine);
    std::unique_ptr<DatabaseEngine> d;
};

// True when a database location is a PostgreSQL connection URI rather than
// a file path.
bool isConnectionUri(const QString& location);

// Doubles every single quote so that a text can stand between single quotes
// in a statement: O'Neill -> O''Neill.
QString quoted(const QString& text);

} // namespace vortan::db
