#pragma once
// Copies of the shipped default files for tests: the survey database, the
// postal database, rqtbl.csv and qaTbl.tbl are copied from the program folder
// of the build into a temporary folder that lives as long as the object, and
// a settings file pointing at those copies can be written beside them.
//
// With VORTAN_TEST_ENGINE=postgresql the survey database is instead a fresh
// database on the PostgreSQL server whose socket folder VORTAN_TEST_PGHOST
// names (scripts/postgres-test-server.sh starts one): a copy of a template
// made once from the shipped file, dropped again with the object. The same
// tests then run against the server.

#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <utility>

namespace vortan::test {

// The program folder of the build, where the shipped default files lie.
QString programFolder();

// Path of a file in the program folder ("VORTAN.MDB", "vortan-cli", ...).
QString programFile(const QString& name);

// Copies `source` to `target` and makes the copy writable; false on failure.
bool copyWritable(const QString& source, const QString& target);

// True when the tests run against the PostgreSQL server.
bool testsUseServer();

// A database of its own on the test server, dropped with the object.
class ServerDatabase {
public:
    ServerDatabase() = default;
    ServerDatabase(ServerDatabase&& other) noexcept : uri_(std::exchange(other.uri_, QString())) {}
    ServerDatabase& operator=(ServerDatabase&& other) noexcept;
    ~ServerDatabase();

    // An empty database, and one holding the shipped survey database's
    // tables and rows. Not valid (the reason on stderr) when the server
    // cannot be used.
    static ServerDatabase empty();
    static ServerDatabase shipped();

    bool isValid() const { return !uri_.isEmpty(); }
    QString uri() const { return uri_; }

private:
    explicit ServerDatabase(QString uri) : uri_(std::move(uri)) {}
    QString uri_;
};

class ShippedFilesCopy {
public:
    // Copies the four default files; check isValid() (or use ASSERT_TRUE on it).
    ShippedFilesCopy();

    bool isValid() const { return valid_; }
    QString folder() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    // The copy of VORTAN.MDB, or the URI of the server database.
    QString surveyDatabase() const
    {
        return server_.isValid() ? server_.uri() : path(QStringLiteral("VORTAN.MDB"));
    }
    QString postalDatabase() const { return path(QStringLiteral("Yuubin.MDB")); }
    QString bearingFactorTable() const { return path(QStringLiteral("rqtbl.csv")); }
    QString qaParameterFile() const { return path(QStringLiteral("qaTbl.tbl")); }

    // Writes "settings.ini" in the folder: section etc with データ位置, 住所位置
    // and ini位置 pointing at the copies, plus `extra` entries given as
    // "section/key" -> value (an entry for one of the three paths replaces it).
    // Returns the path of the written file.
    QString writeSettingsFile(const QMap<QString, QString>& extra = {}) const;

private:
    QTemporaryDir dir_;
    ServerDatabase server_;
    bool valid_ = false;
};

// Writes a settings file through the program's settings store: "section/key"
// -> value, in the given order. False when the file cannot be written.
bool writeSettingsFile(const QString& path, const QList<QPair<QString, QString>>& entries);

// Fills page `page` of a database file (1-based; negative counts from the
// end, -1 being the last) with bytes that are no page of any kind; the file
// header at the start of page 1 stays. False when the file cannot be written.
bool breakDatabasePage(const QString& path, int page);

} // namespace vortan::test
