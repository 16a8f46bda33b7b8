#include "test_databases.h"

#include "core/failure.h"
#include "core/settings_store.h"
#include "db/database.h"
#include "db/database_copy.h"
#include "db/postgres/postgres_admin.h"
#include "db/schema_version.h"
#include "db/workspace.h"

#include <QCoreApplication>
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QStringList>

namespace vortan::test {

QString programFolder()
{
    return QStringLiteral(VORTAN_PROGRAM_DIR);
}

QString programFile(const QString& name)
{
    return QDir(programFolder()).filePath(name);
}

bool copyWritable(const QString& source, const QString& target)
{
    if (QFile::exists(target) && !QFile::remove(target))
        return false;
    if (!QFile::copy(source, target))
        return false;
    return QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner
                                             | QFileDevice::ReadOwner);
}

namespace {

const QString kTemplate = QStringLiteral("vortan_test_template");

QString serverUri(const QString& name)
{
    return QStringLiteral("postgresql:///%1?host=%2").arg(name, qEnvironmentVariable("VORTAN_TEST_PGHOST"));
}

// The template every test database is copied from: made from the shipped
// file under a name of its own, then renamed into place, so that test
// programs starting together never see half of it.
void buildTemplate()
{
    const QString building = serverUri(QStringLiteral("vortan_test_template_%1").arg(QCoreApplication::applicationPid()));
    db::dropServerDatabase(building);
    {
        const auto source = db::Database::open(programFile(QStringLiteral("VORTAN.MDB")));
        const auto target = db::Database::create(building);
        db::copyDatabase(*source, *target);
    }
    {
        db::Workspace workspace;
        workspace.openSurvey(building);
        db::CheckSchemaVersion(workspace);
    }
    if (!db::renameServerDatabase(building, kTemplate))
        db::dropServerDatabase(building);
}

} // namespace

bool testsUseServer()
{
    return qEnvironmentVariable("VORTAN_TEST_ENGINE") == u"postgresql";
}

namespace {

// A name of its own on the test server; empty when no server is named.
QString newServerUri()
{
    if (qEnvironmentVariableIsEmpty("VORTAN_TEST_PGHOST")) {
        std::fprintf(stderr, "VORTAN_TEST_PGHOST is not set: start a server with scripts/postgres-test-server.sh\n");
        return QString();
    }
    static int made = 0;
    return serverUri(QStringLiteral("vortan_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made));
}

QString failed(const Failure& failure)
{
    std::fprintf(stderr, "test server database: %s %d\n", qPrintable(failure.description()), failure.number());
    return QString();
}

} // namespace

ServerDatabase& ServerDatabase::operator=(ServerDatabase&& other) noexcept
{
    std::swap(uri_, other.uri_);
    return *this;
}

ServerDatabase::~ServerDatabase()
{
    if (uri_.isEmpty())
        return;
    try {
        db::dropServerDatabase(uri_);
    } catch (const Failure&) {
    }
}

ServerDatabase ServerDatabase::empty()
{
    QString uri = newServerUri();
    try {
        if (!uri.isEmpty()) {
            db::dropServerDatabase(uri);
            db::createServerDatabase(uri);
            db::Database::create(uri);   // the text type the engine's tables use
        }
    } catch (const Failure& failure) {
        uri = failed(failure);
    }
    return ServerDatabase(uri);
}

ServerDatabase ServerDatabase::shipped()
{
    QString uri = newServerUri();
    try {
        if (!uri.isEmpty()) {
            db::dropServerDatabase(uri);
            try {
                db::createServerDatabase(uri, kTemplate);
            } catch (const Failure& failure) {
                if (failure.number() != err::DbFileNotFound)
                    throw;
                buildTemplate();
                db::createServerDatabase(uri, kTemplate);
            }
        }
    } catch (const Failure& failure) {
        uri = failed(failure);
    }
    return ServerDatabase(uri);
}

ShippedFilesCopy::ShippedFilesCopy()
{
    if (!dir_.isValid())
        return;
    valid_ = true;
    for (const char* name : {"VORTAN.MDB", "Yuubin.MDB", "rqtbl.csv", "qaTbl.tbl"}) {
        const QString file = QString::fromLatin1(name);
        if (!copyWritable(programFile(file), path(file)))
            valid_ = false;
    }
    if (testsUseServer()) {
        server_ = ServerDatabase::shipped();
        valid_ = valid_ && server_.isValid();
    }
}

QString ShippedFilesCopy::writeSettingsFile(const QMap<QString, QString>& extra) const
{
    QList<QPair<QString, QString>> entries{
        {QStringLiteral("etc/データ位置"),
         server_.isValid() ? surveyDatabase() : QDir::toNativeSeparators(surveyDatabase())},
        {QStringLiteral("etc/住所位置"), QDir::toNativeSeparators(postalDatabase())},
        {QStringLiteral("etc/ini位置"), QDir::toNativeSeparators(folder())},
    };
    for (auto it = extra.begin(); it != extra.end(); ++it) {
        bool replaced = false;
        for (auto& entry : entries) {
            if (entry.first == it.key()) {
                entry.second = it.value();
                replaced = true;
            }
        }
        if (!replaced)
            entries.append({it.key(), it.value()});
    }
    const QString file = path(QStringLiteral("settings.ini"));
    return test::writeSettingsFile(file, entries) ? file : QString();
}

bool writeSettingsFile(const QString& path, const QList<QPair<QString, QString>>& entries)
{
    SettingsStore store(path);
    for (const auto& entry : entries)
        store.setValue(entry.first.section(QLatin1Char('/'), 0, 0),
                       entry.first.section(QLatin1Char('/'), 1), entry.second);
    try {
        store.save();
        return true;
    } catch (const Failure&) {
        return false;
    }
}

bool breakDatabasePage(const QString& path, int page)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray header = file.read(100);
    if (header.size() < 100)
        return false;
    const int pageSize = (uchar(header[16]) << 8) | uchar(header[17]);
    const qint64 pages = file.size() / pageSize;
    const qint64 index = page > 0 ? page - 1 : pages + page;
    const int keep = index == 0 ? 100 : 0;
    return index >= 0 && index < pages && file.seek(index * pageSize + keep)
        && file.write(QByteArray(pageSize - keep, '\x5A')) == pageSize - keep;
}

} // namespace vortan::test
