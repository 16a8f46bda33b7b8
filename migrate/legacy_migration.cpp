#include "migrate/legacy_migration.h"

#include "core/failure.h"
#include "core/platform.h"
#include "db/database.h"
#include "db/schema_version.h"
#include "db/workspace.h"
#include "migrate/access_file_signature.h"
#include "migrate/legacy_layout.h"
#include "migrate/migration_failure.h"
#include "migrate/reader_process.h"
#include "migrate/reader_stream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <memory>
#include <system_error>

namespace vortan::migrate {

namespace {

const QString Source = QStringLiteral("MigrateLegacyDatabase");

[[noreturn]] void damaged(const QString& oldPath, const QString& why)
{
    throw Failure(err::DbNotDatabase, QStringLiteral("The Access file '%1' %2.").arg(oldPath, why), Source);
}

// The new database under its temporary name: removed again unless kept.
class TemporaryDatabase {
public:
    explicit TemporaryDatabase(const QString& target)
    {
        // A free name in the target's folder, so that the final rename
        // stays on one disk.
        QTemporaryFile probe(QFileInfo(target).absolutePath() + QStringLiteral("/.vortan-migrate-XXXXXX"));
        if (!probe.open())
            throw Failure(err::PathFileAccess,
                          QStringLiteral("Cannot write in the folder of '%1'.").arg(target), Source);
        path_ = probe.fileName();
        probe.remove();
    }
    ~TemporaryDatabase()
    {
        database.reset();
        if (!kept_) {
            QFile::remove(path_);
            QFile::remove(path_ + QStringLiteral("-journal"));
        }
    }
    const QString& path() const { return path_; }

    // Puts the complete file in place of `target`.
    void moveTo(const QString& target, bool replace)
    {
        database.reset();
        bool moved = false;
        if (replace) {
            std::error_code error;
            std::filesystem::rename(std::filesystem::path(path_.toStdU16String()),
                                    std::filesystem::path(target.toStdU16String()), error);
            moved = !error;
        } else {
            moved = QFile::rename(path_, target);   // never over an existing file
        }
        if (!moved)
            throw Failure(err::PathFileAccess, QStringLiteral("Cannot put the new database at '%1'.").arg(target),
                          Source);
        kept_ = true;
    }

    std::unique_ptr<db::Database> database;

private:
    QString path_;
    bool kept_ = false;
};

class Migration {
public:
    Migration(const QString& oldPath, const QString& newPath, const MigrationOptions& options)
        : oldPath_(oldPath), newPath_(newPath), options_(options)
    {
    }

    MigrationResult run()
    {
        ReaderProcess reader(options_.readerProgram.isEmpty() ? DefaultReaderProgram() : options_.readerProgram,
                             oldPath_, options_.silenceLimitMs);
        if (options_.readerStarted)
            options_.readerStarted(reader.processId());

        readCatalog(reader);
        const QStringList missing = MissingFromLegacyLayout(catalog_);
        if (!missing.isEmpty()) {
            reader.requestTables({});
            throw notLegacyLayoutFailure(oldPath_, missing);
        }

        TemporaryDatabase target(newPath_);
        target.database = db::Database::create(target.path());
        // One transaction for the tables and their rows: a file is written
        // once, not once per table.
        target.database->beginTransaction();
        QStringList names;
        for (const LayoutTable& layout : LegacyTables()) {
            if (const CatalogTable* table = findTable(catalog_, layout.name)) {
                copies_.emplace_back(layout, *table);
                target.database->execute(copies_.back().createStatement());
                names.append(table->name);
                totalRows_ += table->definitionRows;
            }
        }
        reader.requestTables(names);
        copyRows(reader, *target.database);
        reader.requireCleanExit();
        target.database->commit();
        target.database.reset();

        MigrationResult result = upgrade(target.path());
        target.moveTo(newPath_, options_.replace);
        return result;
    }

private:
    // Reads lines until `stop` arrives; false when the reader's output ended first.
    template <typename Handle>
    bool readUntil(ReaderProcess& reader, char stop, Handle handle)
    {
        StreamLine line;
        for (;;) {
            while (stream_.next(line)) {
                if (line.tag == stop)
                    return true;
                handle(line);
            }
            reportProgress();
            bool ended = false;
            const QByteArray bytes = reader.read(100, ended);
            if (ended)
                return false;
            stream_.append(bytes);
        }
    }

    void readCatalog(ReaderProcess& reader)
    {
        const bool complete = readUntil(reader, 'S', [this](const StreamLine& line) {
            if (line.tag == 'T' && line.fields.size() == 2) {
                bool ok = false;
                catalog_.push_back(CatalogTable{line.fields[0].text, line.fields[1].text.toLongLong(&ok), {}});
                if (ok)
                    return;
            } else if (line.tag == 'C' && line.fields.size() == 3 && !catalog_.empty()) {
                catalog_.back().columns.push_back(
                    CatalogColumn{line.fields[0].text, line.fields[1].text, line.fields[2].text.toInt()});
                return;
            }
            damaged(oldPath_, QStringLiteral("gave a catalog its reader could not describe"));
        });
        if (!complete) {
            reader.requireCleanExit();
            damaged(oldPath_, QStringLiteral("has no readable catalog"));
        }
    }

    void copyRows(ReaderProcess& reader, db::Database& database)
    {
        std::size_t next = 0;          // the copy whose rows come next
        TableCopy* current = nullptr;
        int insert = -1;
        qint64 rows = 0;
        std::vector<db::Value> values;
        const bool complete = readUntil(reader, 'Z', [&](const StreamLine& line) {
            if (line.tag == 'R' && current) {
                current->values(line.fields, values);
                database.insertRow(insert, values);
                ++rows;
                ++rowsDone_;
            } else if (line.tag == 'D' && !current && next < copies_.size() && line.fields.size() == 1
                       && line.fields[0].text == copies_[next].name()) {
                current = &copies_[next++];
                insert = database.prepareInsert(current->name(), current->columnNames());
                rows = 0;
            } else if (line.tag == 'E' && current && line.fields.size() == 2) {
                // A file cut short lists its tables and reads without an
                // error, only with fewer rows than its definitions count.
                if (line.fields[1].text.toLongLong() != rows || rows != current->definitionRows())
                    damaged(oldPath_, QStringLiteral("gives %1 of the %2 rows of table %3")
                                          .arg(rows)
                                          .arg(current->definitionRows())
                                          .arg(current->name()));
                current = nullptr;
            } else {
                damaged(oldPath_, QStringLiteral("made its reader send rows out of order"));
            }
        });
        if (!complete || current || next != copies_.size()) {
            reader.requireCleanExit();
            damaged(oldPath_, QStringLiteral("could not be read to its end"));
        }
        reportProgress();
    }

    // The upgrade of the program's start-up, then the rows of every table.
    MigrationResult upgrade(const QString& path)
    {
        MigrationResult result;
        db::Workspace workspace;
        workspace.openSurvey(path);
        db::CheckSchemaVersion(workspace);
        db::Database& database = *workspace.survey();
        // A rolled-back upgrade leaves a file of the oldest layout without
        // its version table.
        result.current = false;
        if (db::TableExists(database, QStringLiteral("SystemSetting"))) {
            db::RecordSet version = database.openRecordSet(QStringLiteral(
                "select SystemSetting.Value from SystemSetting where SystemSetting.Key = 'DBVersion' ;"));
            result.current = !version.eof()
                && version.field(QStringLiteral("Value")).toNumber() >= db::CurrentSchemaVersion;
        }
        for (const LayoutTable& layout : LegacyTables()) {
            if (!db::TableExists(database, layout.name))
                continue;
            db::RecordSet count =
                database.openRecordSet(QStringLiteral("SELECT Count(*) AS n FROM [%1];").arg(layout.name));
            result.tables.push_back(TableCount{layout.name, qint64(count.field(0).toNumber())});
        }
        workspace.closeAll();
        return result;
    }

    void reportProgress()
    {
        if (!options_.progress)
            return;
        const int percent = totalRows_ > 0 ? int(rowsDone_ * 100 / totalRows_) : 0;
        options_.progress(std::min(percent, 100));
    }

    QString oldPath_;
    QString newPath_;
    const MigrationOptions& options_;
    ReaderStream stream_;
    std::vector<CatalogTable> catalog_;
    std::vector<TableCopy> copies_;
    qint64 totalRows_ = 0;
    qint64 rowsDone_ = 0;
};

} // namespace

QString DefaultReaderProgram()
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("vortan-mdb-reader.exe");
#else
    const QString name = QStringLiteral("vortan-mdb-reader");
#endif
    return platform::joinPath(platform::programFolder(), name);
}

MigrationResult MigrateLegacyDatabase(const QString& oldPath, const QString& newPath,
                                      const MigrationOptions& options)
{
    const QFileInfo source(oldPath);
    if (!source.exists() || source.isDir())
        throw Failure(err::FileNotFound, QStringLiteral("File not found: '%1'.").arg(oldPath), Source);
    if (!IsAccessFile(oldPath))
        throw notAccessFileFailure(oldPath);
    const QFileInfo target(newPath);
    if (!target.absoluteDir().exists())
        throw Failure(err::PathNotFound, QStringLiteral("Folder not found: '%1'.").arg(target.absolutePath()),
                      Source);
    if (target.exists()) {
        if (target.canonicalFilePath() == source.canonicalFilePath())
            throw targetIsSourceFailure(newPath);
        if (!options.replace)
            throw targetExistsFailure(newPath);
    }
    return Migration(oldPath, newPath, options).run();
}

} // namespace vortan::migrate
